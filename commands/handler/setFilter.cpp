#include "framework/command.h"

OKS_COMMAND_UNIT(setFilter, "OKS_setFilter", OKS_TRACED_DESTRUCTOR);

HRESULT setFilter::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setFilter::AppExecute");
  return E_NOTIMPL;
}
