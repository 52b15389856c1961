#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getCVListFromProductType, "OKS_getCVListFromProductType", OKS_NO_DESTRUCTOR);

// The configured views of a product type, as "result0".
HRESULT getCVListFromProductType::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCVListFromProductType::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
      &oks::ConfigService::getCVListFromProductType, &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getCVListFromProductType", .failureLine = "BO-->getCVListFromProductType Function Failed"});
}
