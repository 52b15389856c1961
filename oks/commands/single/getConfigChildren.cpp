#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getConfigChildren, "OKS_getChildren", OKS_NO_DESTRUCTOR);

// The configuration children of extended nodes (service operation getChildren), as "result0".
HRESULT getConfigChildren::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getConfigChildren::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::getChildren, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "getConfigChildren", .failureLine = "BO-->getChildren Function Failed"});
}
