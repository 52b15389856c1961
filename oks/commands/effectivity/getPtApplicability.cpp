#include <oks/framework/command.h>
#include <oks/framework/effectivity_applicability.h>

OKS_COMMAND_UNIT(getPtApplicability, "OKS_getPtApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT getPtApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPtApplicability::AppExecute");
  return oks::getApplicability(*this, oksUnitTrace(), "getPtApplicability",
                               &ConfigurationImplementation_1::getPtApplicability);
}
