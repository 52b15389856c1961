#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(resetFilter, "OKS_resetFilter", OKS_NO_DESTRUCTOR);

// Resets the filter of a configuration handler. Answers the service's status.
HRESULT resetFilter::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "resetFilter::AppExecute");
  oks::ConfigService service;
  return oks::runStatusAction(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
                              &oks::ConfigService::resetFilter, "BO-->resetFilter Function Failed",
                              "resetFilter");
}
