#include <oks/commands/effectivity/applicability.h>
#include <oks/framework/command.h>

OKS_COMMAND(getPtApplicability, "OKS_getPtApplicability", OKS_TRACED_DESTRUCTOR) {
  return oks::getApplicability(*this, trace, oksUnitName, &ConfigurationImplementation_1::getPtApplicability);
}
