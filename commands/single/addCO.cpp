#include "framework/command.h"

OKS_COMMAND_UNIT(addCO, "OKS_addCO", OKS_NO_DESTRUCTOR);

HRESULT addCO::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addCO::AppExecute");
  return E_NOTIMPL;
}
