#include "framework/command.h"

OKS_COMMAND_UNIT(getConfigChildren, "OKS_getChildren", OKS_NO_DESTRUCTOR);

HRESULT getConfigChildren::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getConfigChildren::AppExecute");
  return E_NOTIMPL;
}
