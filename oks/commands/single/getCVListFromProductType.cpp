#include <oks/framework/record_command.h>

// The configured views of a product type, as "result0".
OKS_RECORD_COMMAND(getCVListFromProductType, "OKS_getCVListFromProductType", OKS_NO_DESTRUCTOR,
                   GetNodeParameter, getCVListFromProductType, SetNodeSeqResult);
