#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Deletes product types given as extended nodes; the service's answer comes back as "result0".
OKS_COMMAND(deleteProductType1, "OKS_deleteProductType1", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::deleteProductType1, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "deleteProductType1", .failureLine = "BO-->deleteProductType1 Function Failed"});
}
