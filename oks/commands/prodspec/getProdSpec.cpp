#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(getProdSpec, "OKS_getProdSpec", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::XNode* owner = nullptr;
  HRESULT status = GetXNodeParameter("Param0", owner);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  const oks::EffectivityFilter effectivity(*this, trace, "Param1", "Param2");

  oks::OutRecord<QEM_ProductTypes::NodeSeq> specs;
  oks::OutRecord<QEMConfig::NormalValueSeq> values;
  ZORUnicodeString firstText;
  unsigned char hideUnsolvedMode = 0;
  oks::OutRecord<QEMConfig::MultiCOFilter> filter;
  oks::OutRecord<ZORListPtrQEMIQAttributeFilterObject> criteria;
  ZORUnicodeString secondText("");
  unsigned char caseSensitive = 1;
  // The service's own status is not looked at: the outputs tell the outcome.
  service.getProdSpec(*owner, specs.out(), values.out(), firstText, effectivity.values(),
                      effectivity.domain(), hideUnsolvedMode, filter.out(), criteria.out(), secondText,
                      caseSensitive);
  if (!specs || !values) return E_FAIL;

  SetNodeSeqResult("result0", specs.release());
  if (!oks::streamerHad(trace, oks::streamRecord<NormalValueSeqStreamer>(*this, "result1", values),
                        "QueryInterface Failed - for NVSeq"))
    return E_FAIL;

  // A text result; false when its streamer could not be had.
  const char* const noTextStreamer = "QueryInterface Failed for ZORUnicodeString";
  auto textResult = [&](const char* key, const ZORUnicodeString& text) {
    return oks::streamerHad(trace, oks::streamText(*this, key, text), noTextStreamer);
  };
  if (!textResult("result2", firstText)) return E_FAIL;
  oks::traceLine(trace, "HideUnsolvedOpMode : ", static_cast<int>(hideUnsolvedMode));
  if (!textResult("result3", oks::trueFalse(hideUnsolvedMode != 0))) return E_FAIL;

  if (!filter) {
    oks::traceLine(trace, "Filter Function Failed");
    return E_FAIL;
  }
  oks::traceLine(trace, " Filter executed successfully.");
  if (!oks::streamerHad(trace, oks::streamRecord<MultiCOFilterStreamer>(*this, "result4", filter)))
    return E_FAIL;

  // No criteria from the service: an empty list is returned instead.
  if (!criteria) criteria.out() = new ZORListPtrQEMIQAttributeFilterObject(0);
  oks::traceLine(trace, "TOTAL NO. OF FILTER VALUE IN filterCriteria::", (*criteria).Size());
  const auto criteriaOutcome = oks::streamRecord<DescriptionFilterSeqStreamer>(*this, "result5", criteria);
  if (!oks::streamerHad(trace, criteriaOutcome)) return criteriaOutcome.queryStatus;

  if (!textResult("result6", secondText)) return E_FAIL;
  const auto caseOutcome = oks::streamText(*this, "result7", oks::trueFalse(caseSensitive != 0));
  if (!oks::streamerHad(trace, caseOutcome, noTextStreamer)) return E_FAIL;

  oks::traceLine(trace, "CaseSensitive Flag ", static_cast<int>(caseSensitive));
  oks::traceSucceeded(trace, oksUnitName);
  return caseOutcome.setStatus;
}
