#include <oks/commands/effectivity/applicability.h>
#include <oks/framework/command.h>

OKS_COMMAND(setSpecApplicability, "OKS_setSpecApplicability", OKS_TRACED_DESTRUCTOR) {
  return oks::setApplicability(*this, trace, oksUnitName,
                               &ConfigurationImplementation_1::setSpecApplicability);
}
