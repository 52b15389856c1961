#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(propagateEffectivity, "OKS_propagateEffectivity", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;
  QEM_ProductTypes::XNode* node = nullptr;
  HRESULT status = GetXNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  // A filter that cannot be had is not traced; an empty filter goes to the service instead.
  auto filter = oks::readStreamable<QEMConfig::MultiCOFilter>(*this, "Param1");
  const auto filterModes = oks::readFilterModes(*this, trace, "Param2", "Param3");

  // A failure must not read as success: its status is returned, a success answers S_OK.
  const QEMConfig::MultiCOFilter noFilter;
  status = oks::reportOutcome(
      trace, oksUnitName,
      service.propagateEffectivity(*node, oks::objectOr(filter, noFilter), filterModes.mode,
                                   static_cast<int>(filterModes.mode150)));
  return FAILED(status) ? status : S_OK;
}
