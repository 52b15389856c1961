#include "framework/command.h"

OKS_COMMAND_UNIT(getAllEffectivities, "OKS_getAllEffectivities", OKS_TRACED_DESTRUCTOR);

HRESULT getAllEffectivities::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getAllEffectivities::AppExecute");
  return E_NOTIMPL;
}
