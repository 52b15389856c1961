#include "framework/command.h"

OKS_COMMAND_UNIT(getFilter, "OKS_getFilter", OKS_TRACED_DESTRUCTOR);

HRESULT getFilter::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getFilter::AppExecute");
  return E_NOTIMPL;
}
