#include "framework/command.h"

OKS_COMMAND_UNIT(setProdSpec, "OKS_setProdSpec", OKS_TRACED_DESTRUCTOR);

HRESULT setProdSpec::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setProdSpec::AppExecute");
  return E_NOTIMPL;
}
