#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(filterSpecs, "OKS_filterSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::Node* configurable = nullptr;
  HRESULT status = GetNodeParameter("Param0", configurable);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0- ConfigurableObject", status);
  QEM_ProductTypes::NodeSeq* specTree = nullptr;
  status = GetNodeSeqParameter("Param1", specTree);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param1 - SpecTree", status);

  // The filter values are mandatory.
  auto values = oks::readStreamable<QEMConfig::NormalValueSeq>(*this, "Param2");
  if (!values.object) return oks::unableToRetrieve(trace, "Param2 - filterNode", E_FAIL);

  auto domainParam = oks::readDomain(*this, trace, "Param3");
  if (domainParam.failed()) return domainParam.status;
  const ZORUnicodeString domain = oks::textOr(domainParam);

  auto specOnlyParam = oks::readStreamable<ZORUnicodeString>(*this, "Param4");
  if (specOnlyParam.failed()) {
    oks::traceLine(trace, "Failed to get the specOnly");
    return specOnlyParam.status;
  }
  const int specOnly = oks::isTrueText(specOnlyParam.object) ? 1 : 0;

  oks::OutRecord<QEM_ProductTypes::NodeSeq> filtered;
  status = service.filterSpecs(*configurable, *values.object, domain, specOnly, *specTree, filtered.out());
  if (SUCCEEDED(status)) {
    oks::traceSucceeded(trace, oksUnitName);
    SetNodeSeqResult("result0", filtered.release());
  } else {
    oks::traceFunctionFailed(trace, oksUnitName);
  }
  return status;
}
