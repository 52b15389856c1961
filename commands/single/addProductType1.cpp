#include "framework/command.h"

OKS_COMMAND_UNIT(addProductType1, "OKS_addProductType1", OKS_NO_DESTRUCTOR);

HRESULT addProductType1::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addProductType1::AppExecute");
  return E_NOTIMPL;
}
