#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// The in-work approval setting as "Result": 1 when the server answers 0, 0 when it answers 1,
// answering the status of setting it. Any other answer is itself the status and sets nothing.
OKS_COMMAND(getInworkApprovedSetting, "OKS_getInworkApprovedSetting", OKS_NO_DESTRUCTOR) {
  const HRESULT setting = ZORCfgServices::isIWAppSet();
  if (setting == 0) return SetResult("Result", 1);
  if (setting == 1) return SetResult("Result", 0);
  return setting;
}
