#include <oks/commands/prodspec/selection.h>
#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(initSpecs, "OKS_initSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;

  oks::SpecSelection selection;
  HRESULT status = oks::readSpecSelection(*this, trace, selection);
  if (FAILED(status)) return status;

  oks::OutRecord<QEM_ProductTypes::NodeSeq> specs;
  status = service.initSpecs(*selection.configurable, *selection.selectedObjects, specs.out());
  if (FAILED(status)) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return status;
  }
  oks::traceSucceeded(trace, oksUnitName);
  SetNodeSeqResult("result0", specs.release());
  return status;
}
