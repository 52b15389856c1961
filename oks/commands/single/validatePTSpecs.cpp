#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Validates the specifications of a product type; failures are reported as a partial execution. Answers the
// service's status.
OKS_COMMAND(validatePTSpecs, "OKS_validatePTSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runStatusAction(*this, trace, service, &MIROAppBaseCommand::GetXNodeParameter,
                              &oks::ConfigService::validatePTSpecs,
                              " validatePTSpecs executed  with some failures", "validatePTSpecs");
}
