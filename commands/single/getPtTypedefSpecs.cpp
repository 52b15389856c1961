#include "framework/command.h"

OKS_COMMAND_UNIT(getPtTypedefSpecs, "OKS_getPtTypedefSpecs", OKS_NO_DESTRUCTOR);

HRESULT getPtTypedefSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPtTypedefSpecs::AppExecute");
  return E_NOTIMPL;
}
