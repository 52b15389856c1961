#include "framework/command.h"

OKS_COMMAND_UNIT(addSupportedProdSpec, "OKS_addSupportedProdSpec", OKS_NO_DESTRUCTOR);

HRESULT addSupportedProdSpec::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addSupportedProdSpec::AppExecute");
  return E_NOTIMPL;
}
