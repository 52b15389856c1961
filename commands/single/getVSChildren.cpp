#include "framework/command.h"

OKS_COMMAND_UNIT(getVSChildren, "OKS_getVSChildren", OKS_NO_DESTRUCTOR);

HRESULT getVSChildren::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getVSChildren::AppExecute");
  return E_NOTIMPL;
}
