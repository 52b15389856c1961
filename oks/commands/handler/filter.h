// The filter readers (getFilter, getPSFilter): what they do with the filter the service read.
#pragma once

#include <oks/framework/helpers.h>
#include <oks/types/qem_config.h>

namespace oks {

// What became of the filter: whether it was handed to "result0", and the status to go on with
// (that of SetResult then, else E_FAIL).
struct FilterResult {
  bool streamed = false;
  HRESULT status = E_FAIL;
};

// Without a filter traces the command's failure line; with one traces its success line and
// returns the filter through a "FilterValueSeqStreamerLT" streamer as "result0"
// ("QueryInterface Failed" when the streamer cannot be had).
inline FilterResult returnFilter(MIROBaseCommandNoSO& command, ZORQemTrace& trace, const char* name,
                                 OutRecord<QEMConfig::MultiCOFilter>& filter) {
  if (!filter) {
    traceFunctionFailed(trace, name);
    return {};
  }
  traceSucceeded(trace, name);
  const auto outcome = streamRecord<MultiCOFilterStreamer>(command, "result0", filter);
  if (!streamerHad(trace, outcome)) return {};
  return {true, outcome.setStatus};
}

}  // namespace oks
