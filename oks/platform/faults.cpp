#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

#include <oks/platform/faults.h>

namespace oks {
namespace {

struct FaultState {
  std::atomic<bool> planned{false};  // a non-empty plan is installed
  std::mutex mutex;
  FaultPlan plan;
  // Counters made when the plan is installed, so that counting never allocates: the checks run
  // inside allocators and object creation, where an allocation failing must not throw.
  std::array<int, 4> allocCount{};
  std::map<std::string, int, std::less<>> streamerCount;  // the late types the plan names
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
  s.allocCount.fill(0);
  s.streamerCount.clear();
  for (const auto& fault : plan.streamers) s.streamerCount.emplace(fault.lateType, 0);
  const bool anyAlloc = std::any_of(plan.alloc.begin(), plan.alloc.end(),
                                    [](const auto& kind) { return !kind.second.empty(); });
  s.planned.store(anyAlloc || !plan.streamers.empty() || !plan.setResult.empty(), std::memory_order_release);
}

void clearFaults() { setFaults(FaultPlan{}); }

bool allocationFails(AllocKind kind) {
  auto& s = state();
  if (!s.planned.load(std::memory_order_acquire)) return false;
  std::lock_guard<std::mutex> lock(s.mutex);
  int n = ++s.allocCount[static_cast<std::size_t>(kind)];
  auto it = s.plan.alloc.find(kind);
  return it != s.plan.alloc.end() && std::find(it->second.begin(), it->second.end(), n) != it->second.end();
}

std::optional<StreamerFault> streamerFault(std::string_view lateType) {
  auto& s = state();
  if (!s.planned.load(std::memory_order_acquire)) return std::nullopt;
  std::lock_guard<std::mutex> lock(s.mutex);
  auto count = s.streamerCount.find(lateType);
  if (count == s.streamerCount.end()) return std::nullopt;
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
