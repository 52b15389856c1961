#include <oks/framework/command.h>
#include <oks/framework/effectivity_carry_over.h>

OKS_COMMAND(isCarryOver, "OKS_isCarryOver", OKS_NO_DESTRUCTOR) {
  static const oks::CarryOverCheck<QEM_ProductTypes::XNode> check{
      &MIROAppBaseCommand::GetXNodeParameter, &QEM_ConfigImplementation_1::ConfigImplementation::isCarryOver,
      "isCarryOver", " The value of isCOPS is "};
  return oks::runCarryOverCheck(*this, trace, check);
}
