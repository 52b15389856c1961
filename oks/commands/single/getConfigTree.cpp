#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The configuration tree below a node, as "result0".
OKS_COMMAND(getConfigTree, "OKS_getConfigTree", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetNodeParameter, &oks::ConfigService::getConfigTree,
      &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getConfigTree", .failureLine = "BO-->getConfigTree Function Failed"});
}
