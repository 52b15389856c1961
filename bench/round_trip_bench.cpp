// One command through the framework beside a hand-written dispatcher keeping the same contract,
// side by side in one run, against a server that answers at once:
//   - Execute() of getCHList alone (untraced, and with a trace capture listening);
//   - the full round trip: late type -> adapter -> parameter -> Execute -> result -> Release;
//   - loading and unloading the command library.
// Every row reports heap allocations per operation, those beyond the records the server and the
// caller copy, and (framework rows) the ratio of its CPU time to the hand-written one's.
//
//   build/bin/oks_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <oks/host/library.h>
#include <oks/platform/command_host.h>
#include <oks/platform/trace.h>
#include <oks/service/config_service.h>

// Heap allocations of the process so far (bench/allocation_count.cpp).
long allocationCount();

namespace {

using QEM_ProductTypes::XNodeSeq;

// Answers getCHList at once with a copy of its input.
class ImmediateServer : public oks::Server {
 public:
  HRESULT getCHList(const XNodeSeq& in, XNodeSeq*& out) override {
    out = new XNodeSeq(in);
    return S_OK;
  }
};

XNodeSeq sampleInput() {
  XNodeSeq seq(1);
  seq[0].Name = "P1";
  seq[0].Type = "PRC";
  seq[0].Environment = "CONFIG";
  seq[0].Nodes.length(1);
  seq[0].Nodes[0].UUID = _SEQUENCE_octet{0x0a, 0x0b};
  return seq;
}

// Heap allocations one copy of the sample record makes.
long recordAllocations() {
  static const long count = [] {
    const XNodeSeq input = sampleInput();
    long before = allocationCount();
    delete new XNodeSeq(input);
    return allocationCount() - before;
  }();
  return count;
}

double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Per-operation CPU time and allocations of one benchmark run, measured around its loop.
class Measure {
 public:
  explicit Measure(benchmark::State& state) : state_(state) {}

  void start() {
    allocations_ = allocationCount();
    seconds_ = threadCpuSeconds();
  }
  // Stops and reports allocations per operation, in all and beyond `records` record copies.
  double stop(int records) {
    const double perOp = (threadCpuSeconds() - seconds_) / static_cast<double>(state_.iterations());
    const double allocs =
        static_cast<double>(allocationCount() - allocations_) / static_cast<double>(state_.iterations());
    state_.counters["allocs/op"] = allocs;
    state_.counters["beyond records"] = allocs - static_cast<double>(records * recordAllocations());
    return perOp;
  }

 private:
  benchmark::State& state_;
  long allocations_ = 0;
  double seconds_ = 0;
};

// The hand-written side's CPU time per operation, by row, from every repetition so far.
std::map<std::string, std::vector<double>>& handTimes() {
  static std::map<std::string, std::vector<double>> times;
  return times;
}

void recordHand(const std::string& row, double perOp) { handTimes()[row].push_back(perOp); }

// Sets "x hand-written" to the framework's time over the median hand-written time of the row.
void reportRatio(benchmark::State& state, const std::string& row, double perOp) {
  auto it = handTimes().find(row);
  if (it == handTimes().end() || it->second.empty()) return;
  std::vector<double> times = it->second;
  std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
  state.counters["x hand-written"] = perOp / times[times.size() / 2];
}

// --- The hand-written dispatcher ----------------------------------------------------------------

// A small flat map of owned records.
class FlatRecords {
 public:
  FlatRecords() = default;
  FlatRecords(const FlatRecords&) = delete;
  FlatRecords& operator=(const FlatRecords&) = delete;
  ~FlatRecords() {
    for (std::size_t i = 0; i < size_; ++i) delete slots_[i].second;
  }

  XNodeSeq* find(std::string_view key) const {
    for (std::size_t i = 0; i < size_; ++i)
      if (slots_[i].first == key) return slots_[i].second;
    return nullptr;
  }
  void put(std::string_view key, XNodeSeq* record) {
    for (std::size_t i = 0; i < size_; ++i)
      if (slots_[i].first == key) {
        if (slots_[i].second != record) delete slots_[i].second;
        slots_[i].second = record;
        return;
      }
    slots_[size_++] = {std::string(key), record};
  }

 private:
  std::array<std::pair<std::string, XNodeSeq*>, 4> slots_;
  std::size_t size_ = 0;
};

// getCHList written by hand: "Param0" in, the service's list out as "result0", the trace
// appended to a reserved string.
class HandCommand {
 public:
  virtual ~HandCommand() = default;

  void setParameter(std::string_view key, XNodeSeq* record) { parameters_.put(key, record); }
  XNodeSeq* result(std::string_view key) const { return results_.find(key); }

  virtual HRESULT execute(std::string& trace) {
    trace += "+getCHList::AppExecute\n";
    HRESULT status = E_NOTFOUND;
    if (XNodeSeq* input = parameters_.find("Param0")) {
      XNodeSeq* output = nullptr;
      status = oks::server().getCHList(*input, output);
      if (output) {
        trace += " getCHList executed successfully.\n";
        results_.put("result0", output);
      }
    } else {
      trace += "Unable to retrieve Param0\n";
    }
    trace += "-getCHList::AppExecute\n";
    return status;
  }

 private:
  FlatRecords parameters_;
  FlatRecords results_;
};

using HandFactory = HandCommand* (*)();

HandCommand* makeHandCommand() { return new HandCommand; }

struct HandEntry {
  std::string lateType;
  HandFactory factory;
};

// 64 late types, sorted once; only getCHList has a factory.
const std::vector<HandEntry>& handTable() {
  static const std::vector<HandEntry> table = [] {
    std::vector<HandEntry> entries;
    for (int i = 0; i < 63; ++i) entries.push_back({"OKS_command" + std::to_string(i), nullptr});
    entries.push_back({"OKS_getCHList", &makeHandCommand});
    std::sort(entries.begin(), entries.end(),
              [](const HandEntry& a, const HandEntry& b) { return a.lateType < b.lateType; });
    return entries;
  }();
  return table;
}

HandFactory findHandFactory(const char* lateType) {
  const auto& table = handTable();
  auto it = std::lower_bound(table.begin(), table.end(), lateType, [](const HandEntry& e, const char* key) {
    return std::strcmp(e.lateType.c_str(), key) < 0;
  });
  return it != table.end() && it->lateType == lateType ? it->factory : nullptr;
}

std::string& handTrace() {
  static std::string trace = [] {
    std::string t;
    t.reserve(256);
    return t;
  }();
  return trace;
}

// --- The framework ------------------------------------------------------------------------------

struct Created {
  MIROIBaseCommand* command = nullptr;
  MIROAppBaseCommand* app = nullptr;
};

// The command of a late type through the object modeler, as a host makes it.
Created create(const char* lateType) {
  ZORBaseUnknown* object = new ZORObject(lateType, nullptr);
  Created made;
  object->QueryInterface(IID_MIROIBaseCommand, reinterpret_cast<void**>(&made.command));
  object->Release();
  made.app = dynamic_cast<MIROAppBaseCommand*>(made.command->GetImpl(1));
  return made;
}

// --- Execute() ----------------------------------------------------------------------------------

void Execute_HandWritten(benchmark::State& state) {
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  HandCommand* command = findHandFactory("OKS_getCHList")();
  command->setParameter("Param0", new XNodeSeq(sampleInput()));
  std::string& trace = handTrace();
  Measure measure(state);
  measure.start();
  for (auto _ : state) {
    trace.clear();
    benchmark::DoNotOptimize(command->execute(trace));
  }
  recordHand("Execute", measure.stop(1));
  delete command;
}
BENCHMARK(Execute_HandWritten);

void executeFramework(benchmark::State& state, oks::TraceCapture* capture) {
  oks::host::CommandLibrary library(OKS_LIBRARY_PATH);
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  Created made = create("OKS_getCHList");
  made.app->SetXNodeSeqParameter("Param0", new XNodeSeq(sampleInput()));
  Measure measure(state);
  measure.start();
  for (auto _ : state) {
    benchmark::DoNotOptimize(made.command->Execute());
    if (capture) benchmark::DoNotOptimize(capture->take());
  }
  reportRatio(state, "Execute", measure.stop(1));
  made.command->Release();
}

void Execute_Framework(benchmark::State& state) { executeFramework(state, nullptr); }
BENCHMARK(Execute_Framework);

// The same with a trace capture listening on the thread; its lines are taken after each run.
void Execute_FrameworkTraced(benchmark::State& state) {
  oks::TraceCapture capture;
  oks::ScopedTraceSink sink(&capture);
  executeFramework(state, &capture);
}
BENCHMARK(Execute_FrameworkTraced);

// --- Round trip ---------------------------------------------------------------------------------

void RoundTrip_HandWritten(benchmark::State& state) {
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  const XNodeSeq input = sampleInput();
  std::string& trace = handTrace();
  Measure measure(state);
  measure.start();
  for (auto _ : state) {
    HandCommand* command = findHandFactory("OKS_getCHList")();
    command->setParameter("Param0", new XNodeSeq(input));
    trace.clear();
    benchmark::DoNotOptimize(command->execute(trace));
    benchmark::DoNotOptimize(command->result("result0"));
    delete command;
  }
  recordHand("RoundTrip", measure.stop(2));
}
BENCHMARK(RoundTrip_HandWritten);

void RoundTrip_Framework(benchmark::State& state) {
  oks::host::CommandLibrary library(OKS_LIBRARY_PATH);
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  const XNodeSeq input = sampleInput();
  Measure measure(state);
  measure.start();
  for (auto _ : state) {
    Created made = create("OKS_getCHList");
    made.app->SetXNodeSeqParameter("Param0", new XNodeSeq(input));
    benchmark::DoNotOptimize(made.command->Execute());
    XNodeSeq* result = nullptr;
    benchmark::DoNotOptimize(made.app->GetXNodeSeqResult("result0", result));
    made.command->Release();
  }
  reportRatio(state, "RoundTrip", measure.stop(2));
}
BENCHMARK(RoundTrip_Framework);

// --- Loading the library ------------------------------------------------------------------------

void LoadUnload_Framework(benchmark::State& state) {
  Measure measure(state);
  measure.start();
  for (auto _ : state) oks::host::CommandLibrary library(OKS_LIBRARY_PATH);
  measure.stop(0);
}
BENCHMARK(LoadUnload_Framework)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
