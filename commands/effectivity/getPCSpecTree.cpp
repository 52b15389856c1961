#include "framework/command.h"

OKS_COMMAND_UNIT(getPCSpecTree, "OKS_getPCSpecTree", OKS_NO_DESTRUCTOR);

HRESULT getPCSpecTree::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPCSpecTree::AppExecute");
  return E_NOTIMPL;
}
