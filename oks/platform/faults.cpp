#include <algorithm>
#include <mutex>

#include <oks/platform/faults.h>

namespace oks {
namespace {

struct FaultState {
  std::mutex mutex;
  FaultPlan plan;
  std::map<AllocKind, int> allocCount;
  std::map<std::string, int> streamerCount;
};

FaultState& state() {
  static FaultState* s = new FaultState;
  return *s;
}

}  // namespace

void setFaults(const FaultPlan& plan) {
  auto& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.plan = plan;
  s.allocCount.clear();
  s.streamerCount.clear();
}

void clearFaults() { setFaults(FaultPlan{}); }

bool allocationFails(AllocKind kind) {
  auto& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  int n = ++s.allocCount[kind];
  auto it = s.plan.alloc.find(kind);
  return it != s.plan.alloc.end() && std::find(it->second.begin(), it->second.end(), n) != it->second.end();
}

std::optional<StreamerFault> streamerFault(const std::string& lateType) {
  auto& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  int n = ++s.streamerCount[lateType];
  for (const auto& f : s.plan.streamers)
    if (f.lateType == lateType && f.nth == n) return f;
  return std::nullopt;
}

std::optional<HRESULT> setResultFault(const std::string& key) {
  auto& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto it = s.plan.setResult.find(key);
  if (it == s.plan.setResult.end()) return std::nullopt;
  return it->second;
}

}  // namespace oks
