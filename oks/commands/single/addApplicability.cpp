#include <oks/framework/command.h>

OKS_COMMAND_UNIT(addApplicability, "OKS_addApplicability", OKS_TRACED_DESTRUCTOR);

// A stub: reads nothing, sets nothing and answers the generic failure.
HRESULT addApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addApplicability::AppExecute");
  return E_FAIL;
}
