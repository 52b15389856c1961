#include "framework/command.h"

OKS_COMMAND_UNIT(addCV, "OKS_addCV", OKS_NO_DESTRUCTOR);

HRESULT addCV::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addCV::AppExecute");
  return E_NOTIMPL;
}
