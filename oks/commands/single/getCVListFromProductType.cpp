#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The configured views of a product type, as "result0".
OKS_COMMAND(getCVListFromProductType, "OKS_getCVListFromProductType", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetNodeParameter,
      &oks::ConfigService::getCVListFromProductType, &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getCVListFromProductType", .failureLine = "BO-->getCVListFromProductType Function Failed"});
}
