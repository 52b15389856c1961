#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getConfigTree, "OKS_getConfigTree", OKS_NO_DESTRUCTOR);

// The configuration tree below a node, as "result0".
HRESULT getConfigTree::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getConfigTree::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
      &oks::ConfigService::getConfigTree, &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getConfigTree", .failureLine = "BO-->getConfigTree Function Failed"});
}
