#include "framework/command.h"

OKS_COMMAND_UNIT(propagateEffectivity, "OKS_propagateEffectivity", OKS_TRACED_DESTRUCTOR);

HRESULT propagateEffectivity::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "propagateEffectivity::AppExecute");
  return E_NOTIMPL;
}
