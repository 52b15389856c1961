#include <oks/framework/command.h>
#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

OKS_COMMAND(propagateEffectivity, "OKS_propagateEffectivity", OKS_TRACED_DESTRUCTOR) {
  QEM_ConfigImplementation_1::ConfigImplementation service;
  QEM_ProductTypes::XNode* node = nullptr;
  HRESULT status = GetXNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  // A filter that cannot be had is not traced; an empty filter goes to the service instead.
  auto filter = oks::readStreamable<QEMConfig::MultiCOFilter>(*this, "Param1");
  const int filterMode = oks::readValueOr(*this, trace, "Param2", 2,
                                          "Filter mode not explicitly set, setting it to its default");
  const unsigned char filter150Mode = oks::readValueOr<unsigned char>(
      *this, trace, "Param3", 0, "Filter 150 mode not explicitly set, setting it to its default");

  const QEMConfig::MultiCOFilter noFilter;
  status = service.propagateEffectivity(*node, filter.object ? *filter.object : noFilter, filterMode,
                                        static_cast<int>(filter150Mode));
  if (FAILED(status)) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return status;
  }
  oks::traceSucceeded(trace, oksUnitName);
  return S_OK;
}
