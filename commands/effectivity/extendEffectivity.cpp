#include "framework/command.h"

OKS_COMMAND_UNIT(extendEffectivity, "OKS_extendEffectivity", OKS_SILENT_DESTRUCTOR);

HRESULT extendEffectivity::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "extendEffectivity::AppExecute");
  return E_NOTIMPL;
}
