#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(deletePS, "OKS_deletePS", OKS_NO_DESTRUCTOR);

// Deletes a product specification. Answers the service's status.
HRESULT deletePS::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deletePS::AppExecute");
  oks::ConfigService service;
  return oks::runStatusAction(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
                              &oks::ConfigService::deletePS, "BO-->deletePS Function Failed", "deletePS");
}
