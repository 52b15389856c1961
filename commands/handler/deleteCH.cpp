#include "framework/command.h"

OKS_COMMAND_UNIT(deleteCH, "OKS_deleteCH", OKS_NO_DESTRUCTOR);

HRESULT deleteCH::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteCH::AppExecute");
  return E_NOTIMPL;
}
