#include <oks/commands/effectivity/applicability.h>
#include <oks/framework/command.h>

OKS_COMMAND(getSpecApplicability, "OKS_getSpecApplicability", OKS_TRACED_DESTRUCTOR) {
  return oks::getApplicability(*this, trace, oksUnitName,
                               &ConfigurationImplementation_1::getSpecApplicability);
}
