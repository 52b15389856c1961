#include "framework/command.h"

OKS_COMMAND_UNIT(rbcValidate, "OKS_rbcValidate", OKS_NO_DESTRUCTOR);

HRESULT rbcValidate::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "rbcValidate::AppExecute");
  return E_NOTIMPL;
}
