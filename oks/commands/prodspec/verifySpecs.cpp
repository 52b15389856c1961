#include <oks/commands/prodspec/selection.h>
#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(verifySpecs, "OKS_verifySpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;

  oks::SpecSelection selection;
  HRESULT status = oks::readSpecSelection(*this, trace, selection);
  if (FAILED(status)) return status;
  QEM_ProductTypes::NodeSeq* selectedSpecs = nullptr;
  status = GetNodeSeqParameter("Param2", selectedSpecs);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "selectedSpecs", status);

  // The outcome starts as an empty node the service may fill or replace; a replaced node is
  // still the command's and is freed.
  auto* const preset = new QEM_ProductTypes::Node();
  oks::OutRecord<QEM_ProductTypes::Node> outcome(preset);
  status =
      service.verifySpecs(*selection.configurable, *selection.selectedObjects, *selectedSpecs, outcome.out());
  if (outcome.get() != preset) delete preset;
  if (FAILED(status)) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return status;
  }
  oks::traceSucceeded(trace, oksUnitName);
  SetNodeResult("result0", outcome.release());
  return status;
}
