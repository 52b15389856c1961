#include "framework/command.h"

OKS_COMMAND_UNIT(deleteProductType, "OKS_deleteProductType", OKS_NO_DESTRUCTOR);

HRESULT deleteProductType::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteProductType::AppExecute");
  return E_NOTIMPL;
}
