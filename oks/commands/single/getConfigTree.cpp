#include <oks/framework/record_command.h>

// The configuration tree below a node, as "result0".
OKS_RECORD_COMMAND(getConfigTree, "OKS_getConfigTree", OKS_NO_DESTRUCTOR, GetNodeParameter, getConfigTree,
                   SetNodeSeqResult);
