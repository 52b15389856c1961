#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getPCSpecTree2, "OKS_getPCSpecTree2", OKS_NO_DESTRUCTOR);

// The product-configuration specification tree of nodes, as "result0".
HRESULT getPCSpecTree2::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPCSpecTree2::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeSeqParameter,
      &oks::ConfigService::getPCSpecTree2, &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getPCSpecTree2", .failureLine = "BO-->getPCSpecTree2 Function Failed"});
}
