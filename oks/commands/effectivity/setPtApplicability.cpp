#include <oks/commands/effectivity/applicability.h>
#include <oks/framework/command.h>

OKS_COMMAND(setPtApplicability, "OKS_setPtApplicability", OKS_TRACED_DESTRUCTOR) {
  return oks::setApplicability(*this, trace, oksUnitName, &ConfigurationImplementation_1::setPtApplicability);
}
