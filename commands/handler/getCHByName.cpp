#include "framework/command.h"

OKS_COMMAND_UNIT(getCHByName, "OKS_getCHByName", OKS_TRACED_DESTRUCTOR);

HRESULT getCHByName::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCHByName::AppExecute");
  return E_NOTIMPL;
}
