#include "framework/command.h"

OKS_COMMAND_UNIT(filterSpecs, "OKS_filterSpecs", OKS_NO_DESTRUCTOR);

HRESULT filterSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "filterSpecs::AppExecute");
  return E_NOTIMPL;
}
