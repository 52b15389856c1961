// The filter readers (getFilter, getPSFilter): what they do with the filter the service read.
#pragma once

#include <memory>

#include <oks/framework/helpers.h>
#include <oks/types/qem_config.h>

namespace oks {

// What became of the filter: whether it was handed to "result0", and the status to go on with
// (that of SetResult then, else E_FAIL).
struct FilterResult {
  bool streamed = false;
  HRESULT status = E_FAIL;
};

// Without a filter traces "BO--><operation> Function Failed"; with one traces
// " <operation> executed successfully." and returns it through a "FilterValueSeqStreamerLT"
// streamer as "result0" ("QueryInterface Failed" when the streamer cannot be had).
inline FilterResult returnFilter(MIROBaseCommandNoSO& command, ZORQemTrace& trace, const char* operation,
                                 OutRecord<QEMConfig::MultiCOFilter>& filter) {
  if (!filter) {
    traceFunctionFailed(trace, operation);
    return {};
  }
  traceSucceeded(trace, operation);
  const auto outcome = streamRecord<MultiCOFilterStreamer>(
      command, "result0", std::unique_ptr<QEMConfig::MultiCOFilter>(filter.release()));
  if (!outcome.gotInterface) {
    traceLine(trace, "QueryInterface Failed");
    return {};
  }
  return {true, outcome.setStatus};
}

}  // namespace oks
