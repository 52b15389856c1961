// Baseline: the full round trip of one command (late type to adapter, one record parameter,
// Execute, read the result, Release) against a server that answers at once, beside a direct call
// of the same server operation. Reports heap allocations per round trip.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "host/library.h"
#include "platform/command_host.h"
#include "service/config_service.h"

namespace {

std::atomic<long> allocations{0};

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
  long before = allocations.load();
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
  state.counters["allocs/op"] =
      benchmark::Counter(static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(CommandRoundTrip);

void DirectServiceCall(benchmark::State& state) {
  ImmediateServer server;
  oks::ScopedServer installed(&server);
  const auto input = sampleInput();
  long before = allocations.load();
  for (auto _ : state) {
    QEM_ConfigImplementation_1::ConfigImplementation service;
    QEM_ProductTypes::XNodeSeq* out = nullptr;
    benchmark::DoNotOptimize(service.getCHList(input, out));
    delete out;
  }
  state.counters["allocs/op"] =
      benchmark::Counter(static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(DirectServiceCall);

}  // namespace

// Counts every heap allocation of the process.
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

BENCHMARK_MAIN();
