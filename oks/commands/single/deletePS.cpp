#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Deletes a product specification. Answers the service's status.
OKS_COMMAND(deletePS, "OKS_deletePS", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runStatusAction(*this, trace, service, &MIROAppBaseCommand::GetNodeParameter,
                              &oks::ConfigService::deletePS, "BO-->deletePS Function Failed", "deletePS");
}
