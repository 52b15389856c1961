#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(displayPtSpecApplicability, "OKS_displayPtSpecApplicability", OKS_TRACED_DESTRUCTOR) {
  ConfigurationImplementation_1 service;
  QEM_ProductTypes::XNodeSeq* nodes = nullptr;
  HRESULT status = GetXNodeSeqParameter("Param0", nodes);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  // The service's status is not looked at: whatever text it left is the answer.
  ZORUnicodeString description;
  service.displayPtSpecEffectivity(*nodes, description);
  oks::traceSucceeded(trace, oksUnitName);
  return oks::streamedStatus(trace, oks::streamText(*this, "result0", description));
}
