// The allocation sweep: every case of every command (the JSON cases under tests/cases) runs
// with its N-th allocation inside Execute() failing, for N = 1, 2, ... until the command completes
// without reaching N. At every N the process must not crash or leak, the trace steps opened in
// Execute() must be closed, the outcome must be one of the command's own failure paths (a
// negative status, std::bad_alloc leaving Execute(), or its unfaulted status with fewer results,
// as when a result setter fails), and the command must be released and the library unloaded.
// What fails is what the command library and the platform allocate, not the scripted server.
//
// OKS_ALLOC_SWEEP_EVERY=k sweeps every k-th case only; OKS_ALLOC_SWEEP_SECONDS=s starts no new
// case after s seconds (both bound the time under the sanitizers). A leak is named by its case
// and allocation; the sanitizer build's leak checker tells where it was made.
#include <execinfo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>

#include "failing_new.h"
#include <oks/api/command.h>
#include <oks/api/library.h>
#include <oks/host/cases/case_check.h>
#include <oks/host/cases/scripted_server.h>
#include <oks/host/values.h>
#include <oks/platform/faults.h>
#include <oks/platform/trace.h>
#include <oks/service/operation_table.h>
#include <oks/service/server.h>
#include <oks/service/session.h>

namespace oks::host {
namespace {

// Counts the trace steps open, allocating nothing.
class StepCounter : public TraceSink {
 public:
  int open = 0;
  void stepOpened(std::string_view) override { ++open; }
  void stepClosed(std::string_view) override { --open; }
  void text(std::string_view) override {}
};

// Passes every operation on to the scripted server with its allocations neither failing nor
// counted: the sweep fails what the command library and the platform allocate, not the test's
// stand-in answers (a server that throws is what the cases' "throw" answers show).
class UnfailingServer : public Server {
 public:
  explicit UnfailingServer(Server& scripted) : scripted_(scripted) {}
#define OKS_OPERATION(Class, Return, name, parameters) \
  Return name(OKS_PARAMETERS parameters) override {    \
    test::AllocationFailureSuspended suspended;        \
    return scripted_.name(OKS_ARGUMENTS parameters);   \
  }
#include <oks/service/server_operations.def>

 private:
  Server& scripted_;
};

struct Observed {
  bool created = false;
  Json status, exception, results;
  int openSteps = 0;  // steps opened in Execute() and not closed
  test::AllocationCount allocations;
};

Observed runOnce(const Case& c, long failAt) {
  Observed o;
  CommandLibrary library(OKS_LIBRARY_PATH);
  {
    ScriptedServer scripted(c.server);
    StepCounter steps;
    setFaults(c.faults);
    UnfailingServer unfailing(scripted.server());
    ScopedServer server(&unfailing);
    ScopedTraceSink installed(&steps);

    HRESULT made;
    MIROIBaseCommand* command = makeCommandAdapter(c.command, made);
    auto* app = command ? dynamic_cast<MIROAppBaseCommand*>(command->GetImpl(1)) : nullptr;
    if (app) {
      o.created = true;
      for (const Param& param : c.params) setParam(*command, *app, param);
      steps.open = 0;
      test::armAllocationFailure(failAt);
      try {
        HRESULT status = command->Execute();
        o.allocations = test::disarmAllocationFailure();
        o.status = status;
      } catch (const std::exception& e) {
        o.allocations = test::disarmAllocationFailure();
        o.exception = e.what();
      } catch (...) {
        o.allocations = test::disarmAllocationFailure();
        o.exception = "an exception that is not a std::exception";
      }
      o.openSteps = steps.open;
      o.results = readResults(*app);
    }
    if (command) command->Release();
    clearFaults();
    resetSession();
  }
  return o;
}

// Whether a faulted outcome is one the command's own failure paths give.
bool isFailurePath(const Observed& faulted, const Observed& unfaulted) {
  if (faulted.exception == "std::bad_alloc") return true;
  if (!faulted.exception.is_null()) return false;
  if (faulted.status.get<std::int64_t>() < 0) return true;
  if (faulted.status != unfaulted.status) return false;
  for (auto it = faulted.results.begin(); it != faulted.results.end(); ++it)
    if (!unfaulted.results.contains(it.key()) || unfaulted.results[it.key()] != it.value()) return false;
  return true;
}

// The run in progress, named when the process dies in it.
std::string running;

[[noreturn]] void dieNamingTheRun() {
  std::fprintf(stderr, "terminated while running %s\n", running.c_str());
  void* frames[48];
  backtrace_symbols_fd(frames, backtrace(frames, 48), 2);
  std::abort();
}

long environmentNumber(const char* name, long otherwise) {
  const char* text = std::getenv(name);
  return text && *text ? std::atol(text) : otherwise;
}

TEST(AllocationSweep, EveryAllocationInExecuteMayFail) {
  const long every = std::max(1L, environmentNumber("OKS_ALLOC_SWEEP_EVERY", 1));
  const double budget = static_cast<double>(environmentNumber("OKS_ALLOC_SWEEP_SECONDS", 0));
  std::vector<std::string> missing;
  std::vector<std::string> files = caseFiles({std::string(OKS_SOURCE_DIR) + "/tests/cases"}, missing);
  ASSERT_FALSE(files.empty());

  std::set_terminate(dieNamingTheRun);
  auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  long index = 0, swept = 0, runs = 0, deepest = 0;
  runOnce(*readCaseFile(files.front()).front().spec, 0);  // lazily made statics settle
  for (const std::string& file : files)
    for (const ReadCase& read : readCaseFile(file)) {
      if (!read.spec || index++ % every != 0) continue;
      if (budget > 0 && elapsed() > budget) continue;
      const Case& c = *read.spec;
      std::string where = file + " [" + read.name + "]";
      Observed unfaulted = runOnce(c, 0);
      if (!unfaulted.created) continue;
      ++swept;
      for (long n = 1;; ++n) {
        running = where + " allocation " + std::to_string(n);
        long live = test::liveAllocations();
        bool reached = false;
        std::string seen;
        {
          Observed faulted = runOnce(c, n);
          ++runs;
          reached = faulted.allocations.failed;
          seen = "status " + faulted.status.dump() + ", exception " + faulted.exception.dump() +
                 ", results " + faulted.results.dump();
          EXPECT_EQ(faulted.openSteps, 0) << where << " allocation " << n << ": a trace step left open";
          if (reached)
            EXPECT_TRUE(isFailurePath(faulted, unfaulted)) << where << " allocation " << n << ": " << seen;
          else
            EXPECT_EQ(faulted.results, unfaulted.results) << where;
        }
        if (test::liveAllocations() != live) {
          // Something the platform makes once, on first need, stays; a leak grows on every run.
          live = test::liveAllocations();
          runOnce(c, n);
          EXPECT_EQ(test::liveAllocations(), live)
              << where << " allocation " << n << ": leaked (" << seen << ")";
        }
        if (!reached || ::testing::Test::HasFailure()) {
          deepest = std::max(deepest, n - 1);
          break;
        }
      }
      if (::testing::Test::HasFailure()) return;
    }
  std::cout << "swept " << swept << " cases (every " << every << "), " << runs << " runs, up to " << deepest
            << " allocations in one Execute(), " << elapsed() << " s\n";
}

}  // namespace
}  // namespace oks::host
