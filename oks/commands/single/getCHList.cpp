#include <oks/framework/record_command.h>

// The configuration handlers of extended nodes, as "result0". Nothing is traced when the
// service answers no list.
OKS_RECORD_COMMAND(getCHList, "OKS_getCHList", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter, getCHList,
                   SetXNodeSeqResult, .failureLine = oks::FailureLine::none());
