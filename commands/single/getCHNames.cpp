#include "framework/command.h"

OKS_COMMAND_UNIT(getCHNames, "OKS_getCHNames", OKS_NO_DESTRUCTOR);

HRESULT getCHNames::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCHNames::AppExecute");
  return E_NOTIMPL;
}
