#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getPRCFromCV, "OKS_getPRCFromCV", OKS_NO_DESTRUCTOR);

// The product-configuration root of a configured view, as "result0", only when the service
// also reports success; otherwise the generic failure.
HRESULT getPRCFromCV::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPRCFromCV::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
                               &oks::ConfigService::getPRCFromCV, &MIROAppBaseCommand::SetNodeResult,
                               {.name = "getPRCFromCV",
                                .success = oks::SuccessWhen::OutputSetAndStatusOk,
                                .failureLine = "BO-->getPRCFromCV Function Failed",
                                .returns = oks::RecordReturns::FailWhenNotSet});
}
