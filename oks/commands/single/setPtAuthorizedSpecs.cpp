#include <oks/framework/record_command.h>

// Sets the authorised specifications of product types; the service's answer comes back as "result0".
OKS_RECORD_COMMAND(setPtAuthorizedSpecs, "OKS_setPtAuthorizedSpecs", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter,
                   setPtAuthorizedSpecs, SetXNodeSeqResult);
