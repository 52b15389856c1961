#include <oks/commands/handler/params.h>
#include <oks/framework/command.h>

OKS_COMMAND(getCHFilter, "OKS_getCHFilter", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;

  const oks::NamedHandler handler = oks::readNamedHandler(*this, trace);
  if (handler.failed()) return handler.status();
  // The object queries are optional and stay the host's.
  const auto queryParam = oks::readStreamable<ZORListPtrQEMIQObjectQuery>(*this, "Param3");

  // Found when a filter comes back, whatever the service's status.
  oks::OutRecord<QEMConfig::MultiCOFilter> filter;
  int filterMode = 2;
  unsigned char filter150Mode = 0;
  unsigned char hideUnsolvedMode = 0;
  ZORListPtrQEMIQObjectQuery* queries = queryParam.object;
  oks::OutRecord<ZORListPtrQEMIQAttributeFilterObject> attributeFilters;
  ZORUnicodeString criterionType = "";
  unsigned char caseSensitive = 1;
  service.getCHFilter(*handler.context.first, *handler.context.second, *handler.name.object, filter.out(),
                      filterMode, filter150Mode, hideUnsolvedMode, queries, attributeFilters.out(),
                      criterionType, caseSensitive);
  // A query list the service put in place of the given one is the command's to free.
  const oks::OutRecord<ZORListPtrQEMIQObjectQuery> replacedQueries(queries != queryParam.object ? queries
                                                                                                : nullptr);
  if (!filter) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return E_FAIL;
  }
  oks::traceSucceeded(trace, oksUnitName);

  // A streamer that cannot be had ends the command; one whose interface query reported a
  // failure is traced and the command goes on.
  auto streamed = [&](const oks::StreamerOutcome& outcome, const char* queryFailure) {
    if (!oks::streamerHad(trace, outcome)) return false;
    if (FAILED(outcome.queryStatus) && queryFailure) oks::traceLine(trace, queryFailure);
    return true;
  };
  const auto filterResult = oks::streamRecord<MultiCOFilterStreamer>(*this, "result0", filter);
  if (!streamed(filterResult, nullptr)) return E_FAIL;
  const auto modeResult =
      oks::streamText(*this, "result1", ZORUnicodeString().BuildFromNum(filterMode, "%d"));
  if (!streamed(modeResult, "Failed to set resulting filter mode on the output stream.")) return E_FAIL;
  const auto mode150Result = oks::streamText(*this, "result2", oks::trueFalse(filter150Mode));
  if (!streamed(mode150Result, "Failed to set resulting filter 150 mode on the output stream."))
    return E_FAIL;

  // The criteria are set even without a streamer (an empty handle then); an empty list stands
  // for none.
  oks::traceLine(trace, "Going to return the filter criteria");
  if (!attributeFilters) attributeFilters.out() = new ZORListPtrQEMIQAttributeFilterObject(0);
  const auto criteriaResult =
      oks::streamRecord<DescriptionFilterSeqStreamer>(*this, "result3", attributeFilters,
                                                      /*setWithoutInterface=*/true);
  if (FAILED(criteriaResult.queryStatus))
    oks::traceLine(trace, "Failed Query Interface while getting DescriptionFilterSeqStreamer");

  const auto hideUnsolvedResult = oks::streamText(*this, "result4", oks::trueFalse(hideUnsolvedMode));
  if (!streamed(hideUnsolvedResult,
                "Failed to set resulting filter Hide Unsolved Operations mode on the output stream."))
    return E_FAIL;

  SetResult("result5", caseSensitive == 1 ? 1 : 0);
  return hideUnsolvedResult.queryStatus;
}
