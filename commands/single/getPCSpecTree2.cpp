#include "framework/command.h"

OKS_COMMAND_UNIT(getPCSpecTree2, "OKS_getPCSpecTree2", OKS_NO_DESTRUCTOR);

HRESULT getPCSpecTree2::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPCSpecTree2::AppExecute");
  return E_NOTIMPL;
}
