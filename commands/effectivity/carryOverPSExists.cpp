#include "framework/command.h"

OKS_COMMAND_UNIT(carryOverPSExists, "OKS_carryOverPSExists", OKS_NO_DESTRUCTOR);

HRESULT carryOverPSExists::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "carryOverPSExists::AppExecute");
  return E_NOTIMPL;
}
