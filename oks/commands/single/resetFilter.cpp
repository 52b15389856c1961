#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Resets the filter of a configuration handler. Answers the service's status.
OKS_COMMAND(resetFilter, "OKS_resetFilter", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runStatusAction(*this, trace, service, &MIROAppBaseCommand::GetNodeParameter,
                              &oks::ConfigService::resetFilter, "BO-->resetFilter Function Failed",
                              "resetFilter");
}
