#include "framework/command.h"

OKS_COMMAND_UNIT(verifySpecs, "OKS_verifySpecs", OKS_NO_DESTRUCTOR);

HRESULT verifySpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "verifySpecs::AppExecute");
  return E_NOTIMPL;
}
