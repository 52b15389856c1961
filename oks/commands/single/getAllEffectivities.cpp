#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getAllEffectivities, "OKS_getAllEffectivities", OKS_TRACED_DESTRUCTOR);

// Asks the service for the effectivities between two nodes without taking them back; the
// service's status is not looked at and the generic failure is answered.
HRESULT getAllEffectivities::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getAllEffectivities::AppExecute");
  oks::ConfigService service;
  const auto params = oks::readParam0And1(*this, oksUnitTrace(), &MIROAppBaseCommand::GetNodeParameter);
  if (FAILED(params.status)) return params.status;

  service.getAllEffectivities(*params.param0, *params.param1, nullptr);
  oks::traceSucceeded(oksUnitTrace(), "getAllEffectivities");
  return E_FAIL;
}
