#include <oks/framework/command.h>
#include <oks/framework/effectivity_carry_over.h>

OKS_COMMAND(carryOverPSExists, "OKS_carryOverPSExists", OKS_NO_DESTRUCTOR) {
  static const oks::CarryOverCheck<QEM_ProductTypes::XNodeSeq> check{
      &MIROAppBaseCommand::GetXNodeSeqParameter,
      &QEM_ConfigImplementation_1::ConfigImplementation::carryOverPSExists, "carryOverPSExists",
      " The value of psExists is "};
  return oks::runCarryOverCheck(*this, trace, check);
}
