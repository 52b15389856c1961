#include "framework/command.h"

OKS_COMMAND_UNIT(deleteModification, "OKS_deleteModification", OKS_NO_DESTRUCTOR);

HRESULT deleteModification::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteModification::AppExecute");
  return E_NOTIMPL;
}
