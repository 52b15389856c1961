#include "framework/command.h"

OKS_COMMAND_UNIT(isEffectivityDefined, "OKS_isEffectivityDefined", OKS_TRACED_DESTRUCTOR);

HRESULT isEffectivityDefined::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "isEffectivityDefined::AppExecute");
  return E_NOTIMPL;
}
