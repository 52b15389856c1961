#include <oks/framework/command.h>
#include <oks/framework/effectivity_applicability.h>

OKS_COMMAND(setSpecApplicability, "OKS_setSpecApplicability", OKS_TRACED_DESTRUCTOR) {
  return oks::setApplicability(*this, trace, oksUnitName,
                               &ConfigurationImplementation_1::setSpecApplicability);
}
