#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The filter versions of a configuration handler, as "result0", only when the service also
// reports success. A failing service's status is returned; any other outcome returns S_OK.
OKS_COMMAND(displayAllFilterVersions, "OKS_displayAllFilterVersions", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(*this, trace, service, &MIROAppBaseCommand::GetXNodeParameter,
                               &oks::ConfigService::displayAllFilterVersions,
                               &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "displayAllFilterVersions",
                                .success = oks::SuccessWhen::OutputSetAndStatusOk,
                                .failureLine = " displayAllFilterVersions failed to execut.",
                                .returns = oks::RecordReturns::NegativeElseOk});
}
