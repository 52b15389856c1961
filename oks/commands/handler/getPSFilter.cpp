#include <oks/commands/handler/filter.h>
#include <oks/framework/command.h>

OKS_COMMAND(getPSFilter, "OKS_getPSFilter", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::Node* spec = nullptr;
  const HRESULT status = GetNodeParameter("Param0", spec);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  // Found when a filter comes back, whatever the service's status.
  oks::OutRecord<QEMConfig::MultiCOFilter> filter;
  service.getPSFilter(*spec, filter.out());
  return oks::returnFilter(*this, trace, oksUnitName, filter).status;
}
