#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(setPtAuthorizedSpecs, "OKS_setPtAuthorizedSpecs", OKS_NO_DESTRUCTOR);

// Sets the authorised specifications of product types; the service's answer comes back as "result0".
HRESULT setPtAuthorizedSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setPtAuthorizedSpecs::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::setPtAuthorizedSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "setPtAuthorizedSpecs", .failureLine = "BO-->setPtAuthorizedSpecs Function Failed"});
}
