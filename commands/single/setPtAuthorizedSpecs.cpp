#include "framework/command.h"

OKS_COMMAND_UNIT(setPtAuthorizedSpecs, "OKS_setPtAuthorizedSpecs", OKS_NO_DESTRUCTOR);

HRESULT setPtAuthorizedSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setPtAuthorizedSpecs::AppExecute");
  return E_NOTIMPL;
}
