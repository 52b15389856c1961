#include "framework/command.h"

OKS_COMMAND_UNIT(getModifParent, "OKS_getModifParent", OKS_SILENT_DESTRUCTOR);

HRESULT getModifParent::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getModifParent::AppExecute");
  return E_NOTIMPL;
}
