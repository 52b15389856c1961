#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getPRCAndCVFromCH, "OKS_getPRCAndCVFromCH", OKS_NO_DESTRUCTOR);

// The product-configuration root and configured views of a configuration handler, as
// "result0", only when the service also reports success.
HRESULT getPRCAndCVFromCH::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPRCAndCVFromCH::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
                               &oks::ConfigService::getPRCAndCVFromCH, &MIROAppBaseCommand::SetNodeSeqResult,
                               {.name = "getPRCAndCVFromCH",
                                .success = oks::SuccessWhen::OutputSetAndStatusOk,
                                .failureLine = "BO-->getPRCAndCVFromCH Function Failed"});
}
