#include "framework/command.h"

OKS_COMMAND_UNIT(getProdSpec, "OKS_getProdSpec", OKS_TRACED_DESTRUCTOR);

HRESULT getProdSpec::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getProdSpec::AppExecute");
  return E_NOTIMPL;
}
