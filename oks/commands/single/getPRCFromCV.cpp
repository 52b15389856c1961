#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The product-configuration root of a configured view, as "result0", only when the service
// also reports success; otherwise the generic failure.
OKS_COMMAND(getPRCFromCV, "OKS_getPRCFromCV", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(*this, trace, service, &MIROAppBaseCommand::GetNodeParameter,
                               &oks::ConfigService::getPRCFromCV, &MIROAppBaseCommand::SetNodeResult,
                               {.name = "getPRCFromCV",
                                .success = oks::SuccessWhen::OutputSetAndStatusOk,
                                .failureLine = "BO-->getPRCFromCV Function Failed",
                                .returns = oks::RecordReturns::FailWhenNotSet});
}
