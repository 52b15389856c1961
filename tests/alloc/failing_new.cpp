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

void* allocate(std::size_t size, std::size_t alignment) {
  if (failsNow()) return nullptr;
  if (size == 0) size = 1;
  void* p = nullptr;
  if (alignment <= alignof(std::max_align_t))
    p = std::malloc(size);
  else if (posix_memalign(&p, alignment, size) != 0)
    p = nullptr;
  if (p) live.fetch_add(1, std::memory_order_relaxed);
  return p;
}

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
  void* p = allocate(size, alignment);
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

constexpr std::size_t kPlain = alignof(std::max_align_t);

void* operator new(std::size_t n) { return allocateOrThrow(n, kPlain); }
void* operator new[](std::size_t n) { return allocateOrThrow(n, kPlain); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, kPlain); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, kPlain); }
void* operator new(std::size_t n, std::align_val_t a) {
  return allocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a) {
  return allocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return allocate(n, static_cast<std::size_t>(a));
}

void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
