#include "framework/command.h"

OKS_COMMAND_UNIT(isPUE, "OKS_isPUE", OKS_TRACED_DESTRUCTOR);

HRESULT isPUE::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "isPUE::AppExecute");
  return E_NOTIMPL;
}
