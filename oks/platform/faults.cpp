#include <algorithm>
#include <atomic>
#include <mutex>

#include <oks/platform/faults.h>

namespace oks {
namespace {

struct FaultState {
  std::atomic<bool> planned{false};  // a non-empty plan is installed
  std::mutex mutex;
  FaultPlan plan;
  std::map<AllocKind, int> allocCount;
  std::map<std::string, int, std::less<>> streamerCount;
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
  const bool anyAlloc = std::any_of(plan.alloc.begin(), plan.alloc.end(),
                                    [](const auto& kind) { return !kind.second.empty(); });
  s.planned.store(anyAlloc || !plan.streamers.empty() || !plan.setResult.empty(), std::memory_order_release);
}

void clearFaults() { setFaults(FaultPlan{}); }

bool allocationFails(AllocKind kind) {
  auto& s = state();
  if (!s.planned.load(std::memory_order_acquire)) return false;
  std::lock_guard<std::mutex> lock(s.mutex);
  int n = ++s.allocCount[kind];
  auto it = s.plan.alloc.find(kind);
  return it != s.plan.alloc.end() && std::find(it->second.begin(), it->second.end(), n) != it->second.end();
}

std::optional<StreamerFault> streamerFault(std::string_view lateType) {
  auto& s = state();
  if (!s.planned.load(std::memory_order_acquire)) return std::nullopt;
  std::lock_guard<std::mutex> lock(s.mutex);
  auto count = s.streamerCount.find(lateType);
  if (count == s.streamerCount.end()) count = s.streamerCount.emplace(std::string(lateType), 0).first;
  int n = ++count->second;
  for (const auto& f : s.plan.streamers)
    if (f.lateType == lateType && f.nth == n) return f;
  return std::nullopt;
}

std::optional<HRESULT> setResultFault(const std::string& key) {
  auto& s = state();
  if (!s.planned.load(std::memory_order_acquire)) return std::nullopt;
  std::lock_guard<std::mutex> lock(s.mutex);
  auto it = s.plan.setResult.find(key);
  if (it == s.plan.setResult.end()) return std::nullopt;
  return it->second;
}

}  // namespace oks
