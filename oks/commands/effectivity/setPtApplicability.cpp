#include <oks/framework/command.h>
#include <oks/framework/effectivity_applicability.h>

OKS_COMMAND_UNIT(setPtApplicability, "OKS_setPtApplicability", OKS_TRACED_DESTRUCTOR);

HRESULT setPtApplicability::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setPtApplicability::AppExecute");
  return oks::setApplicability(*this, oksUnitTrace(), "setPtApplicability",
                               &ConfigurationImplementation_1::setPtApplicability);
}
