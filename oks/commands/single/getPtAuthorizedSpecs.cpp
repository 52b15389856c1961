#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getPtAuthorizedSpecs, "OKS_getPtAuthorizedSpecs", OKS_NO_DESTRUCTOR);

// The authorised specifications of product types, as "result0".
HRESULT getPtAuthorizedSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPtAuthorizedSpecs::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::getPtAuthorizedSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "getPtAuthorizedSpecs", .failureLine = "BO-->getPtAuthorizedSpecs Function Failed"});
}
