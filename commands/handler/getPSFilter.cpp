#include "framework/command.h"

OKS_COMMAND_UNIT(getPSFilter, "OKS_getPSFilter", OKS_TRACED_DESTRUCTOR);

HRESULT getPSFilter::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPSFilter::AppExecute");
  return E_NOTIMPL;
}
