#include <oks/framework/command.h>
#include <oks/framework/effectivity_carry_over.h>

OKS_COMMAND_UNIT(isCarryOver, "OKS_isCarryOver", OKS_NO_DESTRUCTOR);

HRESULT isCarryOver::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "isCarryOver::AppExecute");
  static const oks::CarryOverCheck<QEM_ProductTypes::XNode> check{
      &MIROAppBaseCommand::GetXNodeParameter, &QEM_ConfigImplementation_1::ConfigImplementation::isCarryOver,
      "isCarryOver", " The value of isCOPS is "};
  return oks::runCarryOverCheck(*this, oksUnitTrace(), check);
}
