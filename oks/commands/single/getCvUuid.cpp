#include <oks/framework/command.h>

OKS_COMMAND_UNIT(getCvUuid, "OKS_getCvUuid", OKS_TRACED_DESTRUCTOR);

// A stub: reads nothing, sets nothing and answers the generic failure.
HRESULT getCvUuid::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCvUuid::AppExecute");
  return E_FAIL;
}
