#include "framework/command.h"

OKS_COMMAND_UNIT(getInworkApprovedSetting, "OKS_getInworkApprovedSetting", OKS_NO_DESTRUCTOR);

HRESULT getInworkApprovedSetting::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getInworkApprovedSetting::AppExecute");
  return E_NOTIMPL;
}
