// A replaced global operator new for tests: once armed on a thread, the n-th allocation that
// thread makes fails (std::bad_alloc, or null for the nothrow forms). Linked into test programs
// only, never into the libraries.
#pragma once

namespace oks::test {

// Fails the n-th allocation (from 1) this thread makes from now on; counts until disarmed.
void armAllocationFailure(long n);

struct AllocationCount {
  long counted = 0;     // allocations made while armed
  bool failed = false;  // whether the n-th was reached (and failed)
};
// Stops failing and counting on this thread.
AllocationCount disarmAllocationFailure();

// Allocations made and not yet freed, on every thread.
long liveAllocations();

// While an object of this class lives, this thread's allocations are neither counted nor failed
// (the test's own bookkeeping, such as the trace capture it reads).
class AllocationFailureSuspended {
 public:
  AllocationFailureSuspended();
  ~AllocationFailureSuspended();
  AllocationFailureSuspended(const AllocationFailureSuspended&) = delete;
  AllocationFailureSuspended& operator=(const AllocationFailureSuspended&) = delete;
};

}  // namespace oks::test
