#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The product-configuration root and configured views of a configuration handler, as
// "result0", only when the service also reports success.
OKS_COMMAND(getPRCAndCVFromCH, "OKS_getPRCAndCVFromCH", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(*this, trace, service, &MIROAppBaseCommand::GetNodeParameter,
                               &oks::ConfigService::getPRCAndCVFromCH, &MIROAppBaseCommand::SetNodeSeqResult,
                               {.name = "getPRCAndCVFromCH",
                                .success = oks::SuccessWhen::OutputSetAndStatusOk,
                                .failureLine = "BO-->getPRCAndCVFromCH Function Failed"});
}
