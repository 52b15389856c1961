#include "framework/command.h"

OKS_COMMAND_UNIT(deletePS, "OKS_deletePS", OKS_NO_DESTRUCTOR);

HRESULT deletePS::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deletePS::AppExecute");
  return E_NOTIMPL;
}
