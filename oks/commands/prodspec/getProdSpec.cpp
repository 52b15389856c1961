#include <oks/framework/command.h>
#include <oks/framework/helpers.h>
#include <oks/framework/prodspec_params.h>
#include <oks/service/config_service.h>

OKS_COMMAND(getProdSpec, "OKS_getProdSpec", OKS_TRACED_DESTRUCTOR) {
  QEM_ConfigImplementation_1::ConfigImplementation service;

  QEM_ProductTypes::XNode* owner = nullptr;
  HRESULT status = GetXNodeParameter("Param0", owner);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  auto inputValues = oks::readStreamable<QEMConfig::NormalValueSeq>(*this, "Param1");
  if (inputValues.failed()) oks::traceLine(trace, "Failed to get the filterNode");
  const ZORUnicodeString domain = oks::textOr(oks::readDomain(*this, trace, "Param2"));
  const QEMConfig::NormalValueSeq emptyValues;

  oks::OutRecord<QEM_ProductTypes::NodeSeq> specs;
  oks::OutRecord<QEMConfig::NormalValueSeq> values;
  ZORUnicodeString firstText;
  unsigned char hideUnsolvedMode = 0;
  oks::OutRecord<QEMConfig::MultiCOFilter> filter;
  oks::OutRecord<ZORListPtrQEMIQAttributeFilterObject> criteria;
  ZORUnicodeString secondText("");
  unsigned char caseSensitive = 1;
  // The service's own status is not looked at: the outputs tell the outcome.
  service.getProdSpec(*owner, specs.out(), values.out(), firstText, oks::objectOr(inputValues, emptyValues),
                      domain, hideUnsolvedMode, filter.out(), criteria.out(), secondText, caseSensitive);
  if (!specs || !values) return E_FAIL;

  SetNodeSeqResult("result0", specs.release());
  auto outcome = oks::streamRecord<NormalValueSeqStreamer>(
      *this, "result1", std::unique_ptr<QEMConfig::NormalValueSeq>(values.release()));
  if (!outcome.gotInterface) {
    oks::traceLine(trace, "QueryInterface Failed - for NVSeq");
    return E_FAIL;
  }

  // A text result; its streamer failing is traced here, the code is returned by the caller.
  auto textResult = [&](const char* key, const ZORUnicodeString& text) {
    auto textOutcome = oks::streamText(*this, key, text);
    if (!textOutcome.gotInterface) oks::traceLine(trace, "QueryInterface Failed for ZORUnicodeString");
    return textOutcome;
  };
  if (!textResult("result2", firstText).gotInterface) return E_FAIL;
  oks::traceLine(trace, "HideUnsolvedOpMode : ", static_cast<int>(hideUnsolvedMode));
  if (!textResult("result3", oks::trueFalse(hideUnsolvedMode != 0)).gotInterface) return E_FAIL;

  if (!filter) {
    oks::traceLine(trace, "Filter Function Failed");
    return E_FAIL;
  }
  oks::traceLine(trace, " Filter executed successfully.");
  if (!oks::streamRecord<MultiCOFilterStreamer>(*this, "result4",
                                                std::unique_ptr<QEMConfig::MultiCOFilter>(filter.release()))
           .gotInterface) {
    oks::traceLine(trace, "QueryInterface Failed");
    return E_FAIL;
  }

  // No criteria from the service: an empty list is returned instead.
  std::unique_ptr<ZORListPtrQEMIQAttributeFilterObject> criteriaList(
      criteria ? criteria.release() : new ZORListPtrQEMIQAttributeFilterObject(0));
  oks::traceLine(trace, "TOTAL NO. OF FILTER VALUE IN filterCriteria::", criteriaList->Size());
  outcome = oks::streamRecord<DescriptionFilterSeqStreamer>(*this, "result5", std::move(criteriaList));
  if (!outcome.gotInterface) {
    oks::traceLine(trace, "QueryInterface Failed");
    return outcome.queryStatus;
  }

  if (!textResult("result6", secondText).gotInterface) return E_FAIL;
  outcome = textResult("result7", oks::trueFalse(caseSensitive != 0));
  if (!outcome.gotInterface) return E_FAIL;

  oks::traceLine(trace, "CaseSensitive Flag ", static_cast<int>(caseSensitive));
  oks::traceLine(trace, " getProdSpec executed successfully.");
  return outcome.setStatus;
}
