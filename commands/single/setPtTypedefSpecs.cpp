#include "framework/command.h"

OKS_COMMAND_UNIT(setPtTypedefSpecs, "OKS_setPtTypedefSpecs", OKS_NO_DESTRUCTOR);

HRESULT setPtTypedefSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setPtTypedefSpecs::AppExecute");
  return E_NOTIMPL;
}
