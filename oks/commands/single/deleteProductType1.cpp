#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(deleteProductType1, "OKS_deleteProductType1", OKS_NO_DESTRUCTOR);

// Deletes product types given as extended nodes; the service's answer comes back as "result0".
HRESULT deleteProductType1::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteProductType1::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::deleteProductType1, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "deleteProductType1", .failureLine = "BO-->deleteProductType1 Function Failed"});
}
