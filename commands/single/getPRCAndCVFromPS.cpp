#include "framework/command.h"

OKS_COMMAND_UNIT(getPRCAndCVFromPS, "OKS_getPRCAndCVFromPS", OKS_NO_DESTRUCTOR);

HRESULT getPRCAndCVFromPS::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPRCAndCVFromPS::AppExecute");
  return E_NOTIMPL;
}
