#include "framework/command.h"

OKS_COMMAND_UNIT(getConfigTree, "OKS_getConfigTree", OKS_NO_DESTRUCTOR);

HRESULT getConfigTree::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getConfigTree::AppExecute");
  return E_NOTIMPL;
}
