#include "framework/command.h"

OKS_COMMAND_UNIT(addProdSpec, "OKS_addProdSpec1", OKS_TRACED_DESTRUCTOR);

HRESULT addProdSpec::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addProdSpec::AppExecute");
  return E_NOTIMPL;
}
