#include "framework/command.h"

OKS_COMMAND_UNIT(displayAllFilterVersions, "OKS_displayAllFilterVersions", OKS_TRACED_DESTRUCTOR);

HRESULT displayAllFilterVersions::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "displayAllFilterVersions::AppExecute");
  return E_NOTIMPL;
}
