#include "framework/command.h"

OKS_COMMAND_UNIT(createFilterVersion, "OKS_createFilterVersion", OKS_TRACED_DESTRUCTOR);

HRESULT createFilterVersion::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "createFilterVersion::AppExecute");
  return E_NOTIMPL;
}
