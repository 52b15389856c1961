#include "framework/command.h"

OKS_COMMAND_UNIT(getCHList, "OKS_getCHList", OKS_NO_DESTRUCTOR);

HRESULT getCHList::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCHList::AppExecute");
  return E_NOTIMPL;
}
