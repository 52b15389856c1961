#include "framework/command.h"

OKS_COMMAND_UNIT(displayPtSpecApplicability, "OKS_displayPtSpecApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT displayPtSpecApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "displayPtSpecApplicability::AppExecute");
  return E_NOTIMPL;
}
