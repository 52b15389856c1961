#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(deleteProductType, "OKS_deleteProductType", OKS_NO_DESTRUCTOR);

// Deletes a product type. Answers the service's status.
HRESULT deleteProductType::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteProductType::AppExecute");
  oks::ConfigService service;
  return oks::runStatusAction(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
                              &oks::ConfigService::deleteProductType,
                              "BO-->deleteProductType Function Failed", "deleteProductType");
}
