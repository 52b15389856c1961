#include <oks/commands/effectivity/carry_over.h>
#include <oks/framework/command.h>

OKS_COMMAND(carryOverPSExists, "OKS_carryOverPSExists", OKS_NO_DESTRUCTOR) {
  return oks::runCarryOverCheck(*this, trace, oksUnitName, &MIROAppBaseCommand::GetXNodeSeqParameter,
                                &oks::ConfigService::carryOverPSExists, " The value of psExists is ");
}
