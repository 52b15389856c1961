#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Deletes a product type. Answers the service's status.
OKS_COMMAND(deleteProductType, "OKS_deleteProductType", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runStatusAction(*this, trace, service, &MIROAppBaseCommand::GetNodeParameter,
                              &oks::ConfigService::deleteProductType,
                              "BO-->deleteProductType Function Failed", "deleteProductType");
}
