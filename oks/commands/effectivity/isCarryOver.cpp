#include <oks/commands/effectivity/carry_over.h>
#include <oks/framework/command.h>

OKS_COMMAND(isCarryOver, "OKS_isCarryOver", OKS_NO_DESTRUCTOR) {
  return oks::runCarryOverCheck(*this, trace, oksUnitName, &MIROAppBaseCommand::GetXNodeParameter,
                                &oks::ConfigService::isCarryOver, " The value of isCOPS is ");
}
