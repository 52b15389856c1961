#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(validatePTSpecs, "OKS_validatePTSpecs", OKS_NO_DESTRUCTOR);

// Validates the specifications of a product type; failures are reported as a partial execution. Answers the
// service's status.
HRESULT validatePTSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "validatePTSpecs::AppExecute");
  oks::ConfigService service;
  return oks::runStatusAction(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeParameter,
                              &oks::ConfigService::validatePTSpecs,
                              " validatePTSpecs executed  with some failures", "validatePTSpecs");
}
