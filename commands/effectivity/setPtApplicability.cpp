#include "framework/command.h"

OKS_COMMAND_UNIT(setPtApplicability, "OKS_setPtApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT setPtApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setPtApplicability::AppExecute");
  return E_NOTIMPL;
}
