#include "framework/command.h"

OKS_COMMAND_UNIT(setSpecApplicability, "OKS_setSpecApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT setSpecApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setSpecApplicability::AppExecute");
  return E_NOTIMPL;
}
