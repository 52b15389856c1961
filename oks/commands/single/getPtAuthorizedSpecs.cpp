#include <oks/framework/record_command.h>

// The authorised specifications of product types, as "result0".
OKS_RECORD_COMMAND(getPtAuthorizedSpecs, "OKS_getPtAuthorizedSpecs", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter,
                   getPtAuthorizedSpecs, SetXNodeSeqResult);
