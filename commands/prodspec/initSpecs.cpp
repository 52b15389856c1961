#include "framework/command.h"

OKS_COMMAND_UNIT(initSpecs, "OKS_initSpecs", OKS_NO_DESTRUCTOR);

HRESULT initSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "initSpecs::AppExecute");
  return E_NOTIMPL;
}
