#include "framework/command.h"

OKS_COMMAND_UNIT(validatePTSpecs, "OKS_validatePTSpecs", OKS_NO_DESTRUCTOR);

HRESULT validatePTSpecs::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "validatePTSpecs::AppExecute");
  return E_NOTIMPL;
}
