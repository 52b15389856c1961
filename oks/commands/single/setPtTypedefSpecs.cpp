#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(setPtTypedefSpecs, "OKS_setPtTypedefSpecs", OKS_NO_DESTRUCTOR);

// Sets the typedef specifications of product types; the service's answer comes back as "result0".
HRESULT setPtTypedefSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setPtTypedefSpecs::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::setPtTypedefSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "setPtTypedefSpecs", .failureLine = "BO-->setPtTypedefSpecs Function Failed"});
}
