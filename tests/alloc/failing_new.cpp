#include "failing_new.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace oks::test {
namespace {

std::atomic<long> live{0};

struct ThreadState {
  long failAt = 0;  // 0: not armed
  long counted = 0;
  bool failed = false;
  int suspended = 0;
};
thread_local ThreadState state;

// Whether this allocation must fail.
bool failsNow() {
  ThreadState& s = state;
  if (s.failAt == 0 || s.suspended > 0) return false;
  if (++s.counted != s.failAt) return false;
  s.failed = true;
  return true;
}

void* allocate(std::size_t size) {
  void* p = failsNow() ? nullptr : std::malloc(size ? size : 1);
  if (p) live.fetch_add(1, std::memory_order_relaxed);
  return p;
}

void* allocateOrThrow(std::size_t size) {
  void* p = allocate(size);
  if (!p) throw std::bad_alloc();
  return p;
}

void release(void* p) {
  if (!p) return;
  live.fetch_sub(1, std::memory_order_relaxed);
  std::free(p);
}

}  // namespace

void armAllocationFailure(long n) { state = {n, 0, false, state.suspended}; }

AllocationCount disarmAllocationFailure() {
  AllocationCount count{state.counted, state.failed};
  state = {0, 0, false, state.suspended};
  return count;
}

long liveAllocations() { return live.load(std::memory_order_relaxed); }

AllocationFailureSuspended::AllocationFailureSuspended() { ++state.suspended; }
AllocationFailureSuspended::~AllocationFailureSuspended() { --state.suspended; }

}  // namespace oks::test

using oks::test::allocate;
using oks::test::allocateOrThrow;
using oks::test::release;

// Every form that a sanitizer's runtime would otherwise provide, so that what one form allocates
// another may free. Over-aligned types are left to the runtime: the libraries have none.
void* operator new(std::size_t n) { return allocateOrThrow(n); }
void* operator new[](std::size_t n) { return allocateOrThrow(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
