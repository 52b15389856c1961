#include <oks/framework/record_command.h>

// The filter versions of a configuration handler, as "result0", only when the service also
// reports success. A failing service's status is returned; any other outcome returns S_OK.
OKS_RECORD_COMMAND(displayAllFilterVersions, "OKS_displayAllFilterVersions", OKS_TRACED_DESTRUCTOR,
                   GetXNodeParameter, displayAllFilterVersions, SetXNodeSeqResult,
                   .success = oks::SuccessWhen::OutputSetAndStatusOk,
                   .failureLine = " displayAllFilterVersions failed to execut.",
                   .returns = oks::RecordReturns::NegativeElseOk);
