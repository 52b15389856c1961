#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(getMileStoneValues, "OKS_getMileStoneValues", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;
  QEM_ProductTypes::Node* node = nullptr;
  HRESULT status = GetNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  // Success is decided by the returned sequence alone, not by the service's status.
  oks::OutRecord<QEMConfig::MileStoneValueSeq> milestones;
  service.getMileStoneValues(*node, milestones.out());
  if (!milestones) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return E_FAIL;
  }
  oks::traceSucceeded(trace, oksUnitName);
  return oks::streamedStatus(trace,
                             oks::streamRecord<MileStoneValueSeqStreamer>(*this, "result0", milestones));
}
