#include <oks/commands/handler/params.h>
#include <oks/framework/command.h>

OKS_COMMAND(deleteCO, "OKS_deleteCO", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::Node* node = nullptr;
  const HRESULT status = GetNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  // The change object's name comes under the host's key "Param3"; there is no Param1 or Param2.
  const auto name = oks::readNameParam(*this, trace, MIROAppBaseCommand::osParam3);
  if (name.failed()) return name.status;

  return oks::reportOutcome(trace, oksUnitName, service.deleteCO(*node, *name.object));
}
