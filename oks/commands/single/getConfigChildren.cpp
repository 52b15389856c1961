#include <oks/framework/record_command.h>

// The configuration children of extended nodes (service operation getChildren), as "result0".
OKS_RECORD_COMMAND(getConfigChildren, "OKS_getChildren", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter, getChildren,
                   SetXNodeSeqResult, .failureLine = "BO-->getChildren Function Failed");
