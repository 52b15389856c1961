#include <oks/framework/record_command.h>

// The children of an extended node, as "result", with their number traced. Nothing is traced
// when the service answers no children.
OKS_RECORD_COMMAND(
    getVSChildren, "OKS_getVSChildren", OKS_NO_DESTRUCTOR, GetXNodeParameter, getVSChildren,
    SetXNodeSeqResult, .failureLine = oks::FailureLine::none(), .resultKey = "result",
    .traceOutput = [](ZORQemTrace& trace, const QEM_ProductTypes::XNodeSeq& children) {
      oks::traceLine(trace, "The number of objects: ", static_cast<int>(children.length()));
    });
