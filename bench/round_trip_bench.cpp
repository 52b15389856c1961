// One command through the framework beside a hand-written dispatcher keeping the same contract,
// against a server that answers at once:
//   - Execute: Execute() of getCHList alone; ExecuteTraced: the same with a trace capture
//     listening on the thread (the hand-written side always writes its trace);
//   - RoundTrip: late type -> adapter -> parameter -> Execute -> result -> Release;
//   - LoadUnload: loading and unloading the command library.
// The two sides run in alternating batches of 16 operations, so that both see the same machine
// (a shared one is noisy); each reports its median time per operation over the batches, its
// heap allocations per operation, and the framework those beyond the records the caller and the
// server copy. The benchmark's own time column is one batch of each side.
//
//   build/bin/oks_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <oks/api/library.h>
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

constexpr int kBatch = 16;

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  auto middle = values.begin() + static_cast<long>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Runs the hand-written and the framework operation in alternating batches and reports, per
// operation: each side's median time ("hand ns", "framework ns"), their ratio ("x hand"), each
// side's allocations, and the framework's beyond `records` record copies.
template <class Hand, class Framework>
void sideBySide(benchmark::State& state, Hand&& hand, Framework&& framework, int records) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> handNs, frameworkNs;
  long handAllocs = 0, frameworkAllocs = 0;
  auto perOp = [](Clock::duration d) { return std::chrono::duration<double, std::nano>(d).count() / kBatch; };
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const long a0 = allocationCount();
    for (int i = 0; i < kBatch; ++i) hand();
    const auto t1 = Clock::now();
    const long a1 = allocationCount();
    for (int i = 0; i < kBatch; ++i) framework();
    const auto t2 = Clock::now();
    const long a2 = allocationCount();
    handNs.push_back(perOp(t1 - t0));
    frameworkNs.push_back(perOp(t2 - t1));
    handAllocs += a1 - a0;
    frameworkAllocs += a2 - a1;
  }
  const double ops = static_cast<double>(state.iterations()) * kBatch;
  const double h = median(handNs), f = median(frameworkNs);
  state.counters["batch"] = kBatch;
  state.counters["hand ns"] = h;
  state.counters["framework ns"] = f;
  state.counters["x hand"] = h > 0 ? f / h : 0;
  state.counters["hand allocs"] = static_cast<double>(handAllocs) / ops;
  state.counters["framework allocs"] = static_cast<double>(frameworkAllocs) / ops;
  state.counters["beyond records"] =
      static_cast<double>(frameworkAllocs) / ops - static_cast<double>(records * recordAllocations());
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

// --- The operations timed ------------------------------------------------------------------------
// Each is one function, not inlined, so that bench/instructions.sh can count its instructions.

[[gnu::noinline]] HRESULT opExecuteHand(HandCommand& command, std::string& trace) {
  trace.clear();
  return command.execute(trace);
}

[[gnu::noinline]] HRESULT opExecuteFramework(MIROIBaseCommand& command) { return command.Execute(); }

[[gnu::noinline]] HRESULT opRoundTripHand(const XNodeSeq& input, std::string& trace) {
  HandCommand* command = findHandFactory("OKS_getCHList")();
  command->setParameter("Param0", new XNodeSeq(input));
  trace.clear();
  HRESULT status = command->execute(trace);
  benchmark::DoNotOptimize(command->result("result0"));
  delete command;
  return status;
}

[[gnu::noinline]] HRESULT opRoundTripFramework(const XNodeSeq& input) {
  Created made = create("OKS_getCHList");
  made.app->SetXNodeSeqParameter("Param0", new XNodeSeq(input));
  HRESULT status = made.command->Execute();
  XNodeSeq* result = nullptr;
  benchmark::DoNotOptimize(made.app->GetXNodeSeqResult("result0", result));
  made.command->Release();
  return status;
}

[[gnu::noinline]] void opLoadUnload() { oks::CommandLibrary library(OKS_LIBRARY_PATH); }

// --- The rows -----------------------------------------------------------------------------------

// Execute() of one command object over and over; each run replaces the previous "result0".
void executeSideBySide(benchmark::State& state, oks::TraceCapture* capture) {
  oks::CommandLibrary library(OKS_LIBRARY_PATH);
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  HandCommand* hand = findHandFactory("OKS_getCHList")();
  hand->setParameter("Param0", new XNodeSeq(sampleInput()));
  std::string& trace = handTrace();
  Created made = create("OKS_getCHList");
  made.app->SetXNodeSeqParameter("Param0", new XNodeSeq(sampleInput()));
  sideBySide(
      state, [&] { benchmark::DoNotOptimize(opExecuteHand(*hand, trace)); },
      [&] {
        benchmark::DoNotOptimize(opExecuteFramework(*made.command));
        if (capture) benchmark::DoNotOptimize(capture->take());
      },
      1);
  made.command->Release();
  delete hand;
}

void Execute(benchmark::State& state) { executeSideBySide(state, nullptr); }
BENCHMARK(Execute);

void ExecuteTraced(benchmark::State& state) {
  oks::TraceCapture capture;
  oks::ScopedTraceSink sink(&capture);
  executeSideBySide(state, &capture);
}
BENCHMARK(ExecuteTraced);

void RoundTrip(benchmark::State& state) {
  oks::CommandLibrary library(OKS_LIBRARY_PATH);
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  const XNodeSeq input = sampleInput();
  std::string& trace = handTrace();
  sideBySide(
      state, [&] { benchmark::DoNotOptimize(opRoundTripHand(input, trace)); },
      [&] { benchmark::DoNotOptimize(opRoundTripFramework(input)); }, 2);
}
BENCHMARK(RoundTrip);

void LoadUnload(benchmark::State& state) {
  const long before = allocationCount();
  for (auto _ : state) opLoadUnload();
  state.counters["allocs"] =
      static_cast<double>(allocationCount() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(LoadUnload)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
