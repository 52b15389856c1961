#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// Whether an effectivity is defined on the extended nodes, as the flag "result" (0 when the
// service fails). Answers the status of setting that result.
OKS_COMMAND(isEffectivityDefined, "OKS_isEffectivityDefined", OKS_TRACED_DESTRUCTOR) {
  ConfigurationImplementation_1 service;
  QEM_ProductTypes::XNodeSeq* nodes = nullptr;
  const HRESULT status =
      oks::readRecord(*this, trace, &MIROAppBaseCommand::GetXNodeSeqParameter, "Param0", nodes);
  if (FAILED(status)) return status;

  unsigned char defined = 0;
  if (FAILED(service.isEffectivityDefined(defined, *nodes))) {
    oks::traceLine(
        trace,
        "BO-->isEffectivityDefined Function Failed.Effectivity not defined. Set the variable to FALSE");
    defined = 0;
  }
  oks::traceSucceeded(trace, oksUnitName);
  return SetResult("result", defined);
}
