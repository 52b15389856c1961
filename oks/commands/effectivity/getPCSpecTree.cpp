#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(getPCSpecTree, "OKS_getPCSpecTree", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  QEM_ProductTypes::Node* node = nullptr;
  HRESULT status = GetNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  const oks::EffectivityFilter effectivity(*this, trace, "Param1", "Param2");

  // The trace follows the returned nodes, the status is the service's either way.
  oks::OutRecord<QEM_ProductTypes::NodeSeq> nodes;
  status = service.getPCSpecTree(*node, effectivity.values(), effectivity.domain(), nodes.out());
  if (nodes) {
    oks::traceSucceeded(trace, oksUnitName);
    SetNodeSeqResult("result0", nodes.release());
  } else {
    oks::traceFunctionFailed(trace, oksUnitName);
  }
  return status;
}
