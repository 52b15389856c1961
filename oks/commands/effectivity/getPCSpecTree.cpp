#include <oks/framework/command.h>
#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

OKS_COMMAND(getPCSpecTree, "OKS_getPCSpecTree", OKS_NO_DESTRUCTOR) {
  QEM_ConfigImplementation_1::ConfigImplementation service;
  QEM_ProductTypes::Node* node = nullptr;
  HRESULT status = GetNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  // Both filters are optional: what cannot be had is replaced by an empty value, and traced
  // only when the host or the streamable reported a failure.
  auto values = oks::readStreamable<QEMConfig::NormalValueSeq>(*this, "Param1");
  if (values.failed()) oks::traceLine(trace, "Failed to get the filterNode");
  auto domainParam = oks::readStreamable<ZORUnicodeString>(*this, "Param2");
  if (domainParam.failed()) oks::traceLine(trace, "Failed to get the domain");
  ZORUnicodeString domain;
  if (domainParam.object) domain = *domainParam.object;

  // The trace follows the returned nodes, the status is the service's either way.
  const QEMConfig::NormalValueSeq noValues;
  oks::OutRecord<QEM_ProductTypes::NodeSeq> nodes;
  status = service.getPCSpecTree(*node, values.object ? *values.object : noValues, domain, nodes.out());
  if (nodes) {
    oks::traceSucceeded(trace, oksUnitName);
    SetNodeSeqResult("result0", nodes.release());
  } else {
    oks::traceFunctionFailed(trace, oksUnitName);
  }
  return status;
}
