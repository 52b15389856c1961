#include <oks/framework/command.h>
#include <oks/framework/effectivity_carry_over.h>

OKS_COMMAND(carryOverPSExists, "OKS_carryOverPSExists", OKS_NO_DESTRUCTOR) {
  return oks::runCarryOverCheck(*this, trace, oksUnitName, &MIROAppBaseCommand::GetXNodeSeqParameter,
                                &oks::ConfigService::carryOverPSExists, " The value of psExists is ");
}
