#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getPtTypedefSpecs, "OKS_getPtTypedefSpecs", OKS_NO_DESTRUCTOR);

// The typedef specifications of product types, as "result0".
HRESULT getPtTypedefSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPtTypedefSpecs::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::getPtTypedefSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "getPtTypedefSpecs", .failureLine = "BO-->getPtTypedefSpecs Function Failed"});
}
