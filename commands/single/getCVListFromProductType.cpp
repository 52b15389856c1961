#include "framework/command.h"

OKS_COMMAND_UNIT(getCVListFromProductType, "OKS_getCVListFromProductType", OKS_NO_DESTRUCTOR);

HRESULT getCVListFromProductType::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCVListFromProductType::AppExecute");
  return E_NOTIMPL;
}
