#include "framework/command.h"

OKS_COMMAND_UNIT(getSpecApplicability, "OKS_getSpecApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT getSpecApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getSpecApplicability::AppExecute");
  return E_NOTIMPL;
}
