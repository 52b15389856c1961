#include "framework/command.h"

OKS_COMMAND_UNIT(deleteProductType1, "OKS_deleteProductType1", OKS_NO_DESTRUCTOR);

HRESULT deleteProductType1::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteProductType1::AppExecute");
  return E_NOTIMPL;
}
