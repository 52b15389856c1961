#include <oks/framework/command.h>
#include <oks/framework/effectivity_carry_over.h>

OKS_COMMAND(isCarryOver, "OKS_isCarryOver", OKS_NO_DESTRUCTOR) {
  return oks::runCarryOverCheck(*this, trace, oksUnitName, &MIROAppBaseCommand::GetXNodeParameter,
                                &oks::ConfigService::isCarryOver, " The value of isCOPS is ");
}
