#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The configuration children of extended nodes (service operation getChildren), as "result0".
OKS_COMMAND(getConfigChildren, "OKS_getChildren", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter, &oks::ConfigService::getChildren,
      &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "getConfigChildren", .failureLine = "BO-->getChildren Function Failed"});
}
