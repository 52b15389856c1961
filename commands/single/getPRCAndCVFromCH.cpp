#include "framework/command.h"

OKS_COMMAND_UNIT(getPRCAndCVFromCH, "OKS_getPRCAndCVFromCH", OKS_NO_DESTRUCTOR);

HRESULT getPRCAndCVFromCH::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPRCAndCVFromCH::AppExecute");
  return E_NOTIMPL;
}
