#include <oks/framework/record_command.h>

// Sets the typedef specifications of product types; the service's answer comes back as "result0".
OKS_RECORD_COMMAND(setPtTypedefSpecs, "OKS_setPtTypedefSpecs", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter,
                   setPtTypedefSpecs, SetXNodeSeqResult);
