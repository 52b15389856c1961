// The status a command returns after handing a record or text to a streamer: when no streamer
// could be had, "QueryInterface Failed" and E_FAIL; otherwise the status of SetResult.
#pragma once

#include "framework/helpers.h"

namespace oks {

inline HRESULT streamedStatus(ZORQemTrace& trace, const StreamerOutcome& outcome) {
  if (!outcome.gotInterface) {
    traceLine(trace, "QueryInterface Failed");
    return E_FAIL;
  }
  return outcome.setStatus;
}

}  // namespace oks
