#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The product-configuration specification tree of nodes, as "result0".
OKS_COMMAND(getPCSpecTree2, "OKS_getPCSpecTree2", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetNodeSeqParameter, &oks::ConfigService::getPCSpecTree2,
      &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getPCSpecTree2", .failureLine = "BO-->getPCSpecTree2 Function Failed"});
}
