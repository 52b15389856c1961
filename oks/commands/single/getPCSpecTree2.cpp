#include <oks/framework/record_command.h>

// The product-configuration specification tree of nodes, as "result0".
OKS_RECORD_COMMAND(getPCSpecTree2, "OKS_getPCSpecTree2", OKS_NO_DESTRUCTOR, GetNodeSeqParameter,
                   getPCSpecTree2, SetNodeSeqResult);
