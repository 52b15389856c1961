#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

namespace {

// A switch carried as text: 1 exactly for "TRUE", traced under its label when a text came;
// 0 with the default message when it cannot be read.
unsigned char readSwitch(MIROBaseCommandNoSO& command, ZORQemTrace& trace, const char* key, const char* label,
                         const char* defaultMessage) {
  auto param = oks::readStreamable<ZORUnicodeString>(command, key);
  if (param.object) oks::traceLine(trace, label, *param.object);
  if (param.failed()) oks::traceLine(trace, defaultMessage);
  return oks::isTrueText(param.object) ? 1 : 0;
}

}  // namespace

OKS_COMMAND(setProdSpec, "OKS_setProdSpec", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::XNode* owner = nullptr;
  HRESULT status = GetXNodeParameter("Param0", owner);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  QEM_ProductTypes::NodeSeq* specs = nullptr;
  status = GetNodeSeqParameter("Param1", specs);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param1", status);

  auto values = oks::readStreamable<QEMConfig::NormalValueSeq>(*this, "Param2");
  auto domain = oks::readStreamable<ZORUnicodeString>(*this, "Param3");
  if (domain.failed()) return oks::unableToRetrieve(trace, "Param3", domain.status);

  const unsigned char hideUnsolvedMode =
      readSwitch(*this, trace, "Param4", "The strUnsolvedOpMode is : ",
                 "Filter HideUnsolvedOp mode not explicitly set, setting it to its default");

  QEMConfig::MultiCOFilter defaultFilter(1);
  defaultFilter[0] = QEMConfig::FilterValue();
  const QEMConfig::MultiCOFilter* filter = &defaultFilter;
  auto filterParam = oks::readStreamable<QEMConfig::MultiCOFilter>(*this, "Param5");
  if (!filterParam.handle) {
    oks::traceLine(trace, "Failed to retrieve Param5,setting it to its default");
  } else if (filterParam.object) {
    oks::traceLine(trace, "Succeeded in retrieving MultiCoFilter ");
    filter = filterParam.object;
  } else {
    oks::traceLine(trace, "Failed in retrieving MultiCoFilter ");
  }

  // A failing getter gives an empty list the command owns; an empty handle gives no list.
  const oks::AttributeFilterParam criteria(
      *this, trace, "Param6",
      "Unable to retrieve Param6 the QEMIListOfAttributeFilterObjects; using an empty list");

  const unsigned char caseSensitive =
      readSwitch(*this, trace, "Param7", "The caseSensitive_param is : ",
                 "Filter caseSensitive mode not explicitly set, setting it to its default");

  ZORUnicodeString criteriaType;
  auto criteriaTypeParam = oks::readStreamable<ZORUnicodeString>(*this, "Param8");
  if (criteriaTypeParam.handle) {
    if (criteriaTypeParam.object) criteriaType = *criteriaTypeParam.object;
    oks::traceLine(trace, "The filterCritType is : ", criteriaType);
  }
  if (criteriaTypeParam.failed())
    oks::traceLine(trace, "filterCritType not explicitly set,continue with normal flow");

  const ZORUnicodeString emptyText;
  const QEMConfig::NormalValueSeq emptyValues;
  status = service.setProdSpec(*owner, *specs, oks::objectOr(values, emptyValues),
                               oks::objectOr(domain, emptyText), hideUnsolvedMode, *filter, criteria.list(),
                               caseSensitive, criteriaType);
  // Written whatever the status: the returned status alone tells the outcome.
  oks::traceSucceeded(trace, oksUnitName);
  return status;
}
