#include "framework/command.h"

OKS_COMMAND_UNIT(getPtAuthorizedSpecs, "OKS_getPtAuthorizedSpecs", OKS_NO_DESTRUCTOR);

HRESULT getPtAuthorizedSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPtAuthorizedSpecs::AppExecute");
  return E_NOTIMPL;
}
