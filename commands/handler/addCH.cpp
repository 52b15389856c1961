#include "framework/command.h"

OKS_COMMAND_UNIT(addCH, "OKS_addCH", OKS_TRACED_DESTRUCTOR);

HRESULT addCH::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addCH::AppExecute");
  return E_NOTIMPL;
}
