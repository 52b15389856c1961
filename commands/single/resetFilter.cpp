#include "framework/command.h"

OKS_COMMAND_UNIT(resetFilter, "OKS_resetFilter", OKS_NO_DESTRUCTOR);

HRESULT resetFilter::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "resetFilter::AppExecute");
  return E_NOTIMPL;
}
