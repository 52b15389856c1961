#include "framework/command.h"

OKS_COMMAND_UNIT(getCHFilter, "OKS_getCHFilter", OKS_TRACED_DESTRUCTOR);

HRESULT getCHFilter::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCHFilter::AppExecute");
  return E_NOTIMPL;
}
