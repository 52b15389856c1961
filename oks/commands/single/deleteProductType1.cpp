#include <oks/framework/record_command.h>

// Deletes product types given as extended nodes; the service's answer comes back as "result0".
OKS_RECORD_COMMAND(deleteProductType1, "OKS_deleteProductType1", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter,
                   deleteProductType1, SetXNodeSeqResult);
