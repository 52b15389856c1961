#include "framework/command.h"

OKS_COMMAND_UNIT(deleteCO, "OKS_deleteCO", OKS_NO_DESTRUCTOR);

HRESULT deleteCO::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteCO::AppExecute");
  return E_NOTIMPL;
}
