#include <oks/framework/command.h>
#include <oks/framework/effectivity_applicability.h>

OKS_COMMAND_UNIT(setSpecApplicability, "OKS_setSpecApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT setSpecApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setSpecApplicability::AppExecute");
  return oks::setApplicability(*this, oksUnitTrace(), "setSpecApplicability",
                               &ConfigurationImplementation_1::setSpecApplicability);
}
