#include <oks/commands/handler/filter.h>
#include <oks/framework/command.h>

OKS_COMMAND(getFilter, "OKS_getFilter", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::Node* node = nullptr;
  HRESULT status = GetNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  // Found when a filter comes back, whatever the service's status; the modes start at the
  // defaults of setFilter.
  oks::OutRecord<QEMConfig::MultiCOFilter> filter;
  int filterMode = 2;
  unsigned char filter150Mode = 0;
  unsigned char hideUnsolvedMode = 0;
  service.getFilter(*node, filter.out(), filterMode, filter150Mode, hideUnsolvedMode);
  const oks::FilterResult returned = oks::returnFilter(*this, trace, oksUnitName, filter);
  if (!returned.streamed) return returned.status;
  if (FAILED(returned.status))
    oks::traceLine(trace, "Failed to set resulting MultiCOFilter on the output stream.");

  // Each mode is set whatever became of the one before; the last setter's status is returned.
  status = SetResult("modeResult", filterMode);
  if (FAILED(status)) oks::traceLine(trace, "Failed to set resulting filter mode on the output stream.");
  status = SetResult("mode150Result", filter150Mode);
  if (FAILED(status)) oks::traceLine(trace, "Failed to set resulting filter 150 mode on the output stream.");
  status = SetResult("modeHideUnsolOpResult", hideUnsolvedMode);
  if (FAILED(status))
    oks::traceLine(trace, "Failed to set resulting filter HideUnsolOp mode on the output stream.");
  return status;
}
