#include "framework/command.h"

OKS_COMMAND_UNIT(getModInfo, "OKS_getCrapola", OKS_SILENT_DESTRUCTOR);

HRESULT getModInfo::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getModInfo::AppExecute");
  return E_NOTIMPL;
}
