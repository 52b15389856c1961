#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// Asks the service for the effectivities between two nodes without taking them back; the
// service's status is not looked at and the generic failure is answered.
OKS_COMMAND(getAllEffectivities, "OKS_getAllEffectivities", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;
  const auto params = oks::readParam0And1(*this, trace, &MIROAppBaseCommand::GetNodeParameter);
  if (FAILED(params.status)) return params.status;

  service.getAllEffectivities(*params.first, *params.second, nullptr);
  oks::traceSucceeded(trace, oksUnitName);
  return E_FAIL;
}
