#include "framework/command.h"

OKS_COMMAND_UNIT(isCarryOver, "OKS_isCarryOver", OKS_NO_DESTRUCTOR);

HRESULT isCarryOver::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "isCarryOver::AppExecute");
  return E_NOTIMPL;
}
