// Fault injection: the host makes chosen allocations, streamers and result setters fail.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <oks/platform/hresult.h>

namespace oks {

enum class AllocKind { Command, Adapter, AdapterMeta, Service };

// The nth streamer of a late type gives no interface, a given status, or no implementation.
struct StreamerFault {
  std::string lateType;
  int nth = 1;
  bool interface = true;
  std::optional<HRESULT> status;
  bool impl = true;
};

struct FaultPlan {
  std::map<AllocKind, std::vector<int>> alloc;  // occurrences (from 1) that fail
  std::vector<StreamerFault> streamers;
  std::map<std::string, HRESULT> setResult;  // result key -> status its setter fails with
};

// Installs a plan and restarts every counter; an empty plan injects nothing. The checks below
// count and look only while a non-empty plan is installed; otherwise they cost one check.
void setFaults(const FaultPlan& plan);
void clearFaults();

// Counts one allocation of a kind; true when this occurrence must fail.
bool allocationFails(AllocKind kind);
// Counts one streamer made for a late type; the fault to apply to it, if any.
std::optional<StreamerFault> streamerFault(std::string_view lateType);
// The status the result setter of a key must fail with, if any.
std::optional<HRESULT> setResultFault(const std::string& key);

}  // namespace oks
