// Baseline: the full round trip of one command (late type to adapter, one record parameter,
// Execute, read the result, Release) against a server that answers at once, beside a direct call
// of the same server operation. Reports heap allocations per round trip.
#include <benchmark/benchmark.h>

#include <oks/host/library.h>
#include <oks/platform/command_host.h>
#include <oks/service/config_service.h>

// Heap allocations of the process so far (bench/allocation_count.cpp).
long allocationCount();

namespace {

// Answers getCHList at once with a copy of its input.
class ImmediateServer : public oks::Server {
 public:
  HRESULT getCHList(const oks::XNodeSeq& in, oks::XNodeSeq*& out) override {
    out = new oks::XNodeSeq(in);
    return S_OK;
  }
};

QEM_ProductTypes::XNodeSeq sampleInput() {
  QEM_ProductTypes::XNodeSeq seq(1);
  seq[0].Name = "P1";
  seq[0].Type = "PRC";
  seq[0].Environment = "CONFIG";
  seq[0].Nodes.length(1);
  seq[0].Nodes[0].UUID = _SEQUENCE_octet{0x0a, 0x0b};
  return seq;
}

void CommandRoundTrip(benchmark::State& state) {
  oks::host::CommandLibrary library(OKS_LIBRARY_PATH);
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  const auto input = sampleInput();
  long before = allocationCount();
  for (auto _ : state) {
    ZORBaseUnknown* object = new ZORObject("OKS_getCHList", nullptr);
    MIROIBaseCommand* command = nullptr;
    object->QueryInterface(IID_MIROIBaseCommand, reinterpret_cast<void**>(&command));
    object->Release();
    auto* app = dynamic_cast<MIROAppBaseCommand*>(command->GetImpl(1));
    app->SetXNodeSeqParameter("Param0", new QEM_ProductTypes::XNodeSeq(input));
    benchmark::DoNotOptimize(command->Execute());
    QEM_ProductTypes::XNodeSeq* result = nullptr;
    benchmark::DoNotOptimize(app->GetXNodeSeqResult("result0", result));
    command->Release();
  }
  state.counters["allocs/op"] = benchmark::Counter(static_cast<double>(allocationCount() - before) /
                                                   static_cast<double>(state.iterations()));
}
BENCHMARK(CommandRoundTrip);

void DirectServiceCall(benchmark::State& state) {
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  const auto input = sampleInput();
  long before = allocationCount();
  for (auto _ : state) {
    QEM_ConfigImplementation_1::ConfigImplementation service;
    QEM_ProductTypes::XNodeSeq* out = nullptr;
    benchmark::DoNotOptimize(service.getCHList(input, out));
    delete out;
  }
  state.counters["allocs/op"] = benchmark::Counter(static_cast<double>(allocationCount() - before) /
                                                   static_cast<double>(state.iterations()));
}
BENCHMARK(DirectServiceCall);

}  // namespace

BENCHMARK_MAIN();
