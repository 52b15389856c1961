#include "framework/command.h"

OKS_COMMAND_UNIT(getPRCFromCV, "OKS_getPRCFromCV", OKS_NO_DESTRUCTOR);

HRESULT getPRCFromCV::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPRCFromCV::AppExecute");
  return E_NOTIMPL;
}
