#include "framework/command.h"

OKS_COMMAND_UNIT(getCVFromPRC, "OKS_getCVFromPRC", OKS_NO_DESTRUCTOR);

HRESULT getCVFromPRC::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCVFromPRC::AppExecute");
  return E_NOTIMPL;
}
