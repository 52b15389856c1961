#include <oks/framework/command.h>
#include <oks/framework/effectivity_applicability.h>

OKS_COMMAND_UNIT(getSpecApplicability, "OKS_getSpecApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT getSpecApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getSpecApplicability::AppExecute");
  return oks::getApplicability(*this, oksUnitTrace(), "getSpecApplicability",
                               &ConfigurationImplementation_1::getSpecApplicability);
}
