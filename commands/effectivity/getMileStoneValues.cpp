#include "framework/command.h"

OKS_COMMAND_UNIT(getMileStoneValues, "OKS_getMileStoneValues", OKS_TRACED_DESTRUCTOR);

HRESULT getMileStoneValues::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getMileStoneValues::AppExecute");
  return E_NOTIMPL;
}
