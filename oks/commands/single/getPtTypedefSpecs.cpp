#include <oks/framework/record_command.h>

// The typedef specifications of product types, as "result0".
OKS_RECORD_COMMAND(getPtTypedefSpecs, "OKS_getPtTypedefSpecs", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter,
                   getPtTypedefSpecs, SetXNodeSeqResult);
