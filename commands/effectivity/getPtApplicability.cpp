#include "framework/command.h"

OKS_COMMAND_UNIT(getPtApplicability, "OKS_getPtApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT getPtApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPtApplicability::AppExecute");
  return E_NOTIMPL;
}
