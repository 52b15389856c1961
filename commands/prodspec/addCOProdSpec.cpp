#include "framework/command.h"

OKS_COMMAND_UNIT(addCOProdSpec, "OKS_addCOProdSpec", OKS_NO_DESTRUCTOR);

HRESULT addCOProdSpec::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addCOProdSpec::AppExecute");
  return E_NOTIMPL;
}
