// Commands made, executed and released on several threads at once, against a trivial server and
// against the reference service (a session per thread on one database): adapters are built one
// at a time, each thread keeps its own adapter call context and server, and each execution its
// own trace. Built with -DOKS_SANITIZE=thread, ThreadSanitizer reports any access the threads
// share unguarded.
#include <atomic>
#include <functional>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/store_tests.h"
#include "tests/unit/library_fixture.h"
#include <oks/host/reference/database.h>
#include <oks/host/reference/exec.h>
#include <oks/host/reference/store_file.h>
#include <oks/service/server.h>

namespace oks::test {
namespace {

// Answers at once every operation the mix below calls.
class ImmediateServer : public Server {
 public:
  HRESULT getCHList(const XNodeSeq& in, XNodeSeq*& out) override {
    out = new XNodeSeq(in);
    return S_OK;
  }
  HRESULT getConfigTree(const Node& in, NodeSeq*& out) override {
    out = new NodeSeq{in};
    return S_OK;
  }
  HRESULT deletePS(const Node&) override { return S_OK; }
  HRESULT isCarryOver(const XNode&, unsigned char& flag) override {
    flag = 1;
    return S_OK;
  }
  HRESULT getMileStoneValues(const Node&, QEMConfig::MileStoneValueSeq*& out) override {
    out = new QEMConfig::MileStoneValueSeq(1);
    return S_OK;
  }
};

// One command of the mix: its late type and how its parameters are set.
struct Job {
  const char* lateType;
  std::function<void(MIROAppBaseCommand&)> setParameters;
};

// Sets a node of the name as the command's Param0.
std::function<void(MIROAppBaseCommand&)> withNode(const char* name) {
  return [name](MIROAppBaseCommand& c) {
    Node* node = new Node;
    node->Name = name;
    node->Type = "PRC";
    node->UUID = _SEQUENCE_octet{0x0a, 0x0b};
    c.SetNodeParameter("Param0", node);
  };
}

// A mix of shapes: record in and out, a status action, a flag through a heap service object, a
// streamer made through the object modeler, a stub; with and without a traced destructor.
std::vector<Job> mix() {
  return {
      {"OKS_getCHList",
       [](MIROAppBaseCommand& c) {
         XNodeSeq seq(1);
         seq[0].Name = "P1";
         seq[0].Nodes.length(1);
         c.SetXNodeSeqParameter("Param0", new XNodeSeq(seq));
       }},
      {"OKS_getConfigTree", withNode("T")},
      {"OKS_deletePS", withNode("S")},
      {"OKS_isCarryOver", [](MIROAppBaseCommand& c) { c.SetXNodeParameter("Param0", new XNode{}); }},
      {"OKS_getMileStoneValues", withNode("M")},
      {"OKS_getCvUuid", [](MIROAppBaseCommand&) {}},
  };
}

// Runs body(t) for t = 0 .. threads - 1, each on a thread of its own, all starting at once.
void onThreadsAtOnce(std::size_t threads, const std::function<void(std::size_t)>& body) {
  std::latch start(static_cast<std::ptrdiff_t>(threads));
  std::vector<std::thread> workers;
  for (std::size_t t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      start.arrive_and_wait();
      body(t);
    });
  for (auto& worker : workers) worker.join();
}

// What one execution showed: the lines of its making and release, of its execution, its status
// and how many results it set.
struct Observed {
  std::vector<std::string> lifecycle;
  std::vector<std::string> trace;
  HRESULT status = S_OK;
  std::size_t results = 0;
  bool operator==(const Observed&) const = default;
  friend void PrintTo(const Observed& o, std::ostream* out) {
    *out << testing::PrintToString(o.lifecycle) << ", trace " << testing::PrintToString(o.trace)
         << ", status " << o.status << ", " << o.results << " results";
  }
};

class ConcurrencyTest : public LibraryTest {
 protected:
  // Runs one job with a trace capture of its own.
  Observed run(const Job& job) {
    TraceCapture capture;
    ScopedTraceSink sink(&capture);
    Observed seen;
    MIROIBaseCommand* command = create(job.lateType);
    if (!command) return seen;
    auto* app = dynamic_cast<MIROAppBaseCommand*>(command->GetImpl(1));
    job.setParameters(*app);
    seen.lifecycle = texts(capture.take());
    seen.status = command->Execute();
    seen.trace = texts(capture.take());
    seen.results = app->Results().entries().size();
    command->Release();
    for (auto& line : texts(capture.take())) seen.lifecycle.push_back(std::move(line));
    return seen;
  }
};

// Every thread runs every job 25 times, each thread starting at another job, all threads at once
// on a freshly loaded library (so that the first adapters of each class are built concurrently
// too); each execution shows what the job shows when it runs alone.
TEST_F(ConcurrencyTest, EightThreadsEachSeeOnlyTheirOwnExecutions) {
  constexpr std::size_t kThreads = 8, kRounds = 25;
  ImmediateServer server;
  ScopedServer installed(&server);
  const std::vector<Job> jobs = mix();
  std::vector<std::vector<std::pair<std::size_t, Observed>>> seen(kThreads);
  onThreadsAtOnce(kThreads, [&](std::size_t t) {
    for (std::size_t i = 0; i < kRounds * jobs.size(); ++i)
      seen[t].emplace_back((i + t) % jobs.size(), run(jobs[(i + t) % jobs.size()]));
  });

  std::vector<Observed> alone;
  for (const Job& job : jobs) {
    alone.push_back(run(job));
    ASSERT_FALSE(alone.back().lifecycle.empty()) << job.lateType;
    ASSERT_FALSE(alone.back().trace.empty()) << job.lateType;
  }
  for (std::size_t t = 0; t < kThreads; ++t)
    for (const auto& [job, observed] : seen[t])
      EXPECT_EQ(observed, alone[job]) << "thread " << t << ", " << jobs[job].lateType;
}

// One round of a thread against the reference service, its objects named after `name`: adds a
// change object, a specification and a handler, and reads the specification, the handler names
// and the milestones back. Each step's outcome ({"status", "results", "trace", "exception"}).
std::vector<host::Json> referenceRound(host::ReferenceSession& session, const std::string& name) {
  using host::Json;
  auto run = [&session](const char* lateType, const Json& params) {
    std::vector<host::Param> decoded;
    for (auto it = params.begin(); it != params.end(); ++it)
      decoded.push_back({it.key(), host::decodeParam(it.value(), it.key())});
    return session.run(lateType, decoded, nullptr).outcome;
  };
  const Json bike = {{"Node", {{"Name", "Bike"}, {"Type", "PRC"}}}};
  std::vector<Json> seen;
  seen.push_back(
      run("OKS_addCO", {{"Param0", {{"XNodeSeq", {{{"Name", "CO " + name}, {"Nodes", {bike["Node"]}}}}}}}}));
  seen.push_back(run("OKS_addProdSpec1",
                     {{"Param0", {{"XNode", {{"Nodes", {{{"Name", "City"}, {"Type", "PT"}}}}}}}},
                      {"Param1", {{"XNode", {{"Name", "Spec " + name}}}}},
                      {"Param2", {{"streamable", {{"string", "A"}}}}},
                      {"Param3", {{"NodeSeq", Json::array()}}},
                      {"Param4", {{"streamable", {{"NormalValueSeq", {{{"optionalSpec", {"EU"}}}}}}}}},
                      {"Param5", {{"streamable", {{"string", "EU"}}}}}}));
  Json spec = seen.back()["results"].value("result0", Json());
  seen.push_back(run("OKS_getProdSpec", {{"Param0", spec}}));
  const Json cityView = {{"Node", {{"Name", "City view"}, {"Type", "CV"}}}};
  seen.push_back(run("OKS_addCH", {{"Param0", bike},
                                   {"Param1", cityView},
                                   {"Param3", {{"string", "Handler " + name}}},
                                   {"Param4", {{"string", "made by " + name}}},
                                   {"Param6", {{"int", 3}}}}));
  seen.push_back(run("OKS_getCHNames", {{"Param0", bike}, {"Param1", cityView}}));
  seen.push_back(run("OKS_getMileStoneValues", {{"Param0", bike}}));
  return seen;
}

// Eight threads, each with a session (a database connection) of its own on one database file,
// run rounds of writes and reads at once, each command one transaction. Every execution shows
// the status and trace it shows alone, reads give what they give alone, each thread finds the
// handlers it added, and the database ends holding each added object exactly once.
TEST_F(ConcurrencyTest, EightSessionsShareOneReferenceDatabase) {
  using host::Json;
  const std::size_t threads = 8, rounds = 4;
  const std::string db = scratchFile("concurrency.db");
  host::importStoreFile(std::string(OKS_SOURCE_DIR) + "/examples/store.json",
                        *host::Database::open(db, host::Database::Mode::Create));
  auto names = [&db] {
    std::multiset<std::string> all;
    host::Database::open(db, host::Database::Mode::Open)->forEach([&all](const reference::StoredObject& o) {
      all.insert(Json::parse(o.text).value("Name", std::string()));
    });
    return all;
  };
  const std::multiset<std::string> before = names();
  std::vector<Json> alone;
  {
    host::ReferenceSession session(db, std::nullopt);
    alone = referenceRound(session, "alone");
  }

  std::vector<std::vector<std::vector<Json>>> seen(threads);
  std::vector<std::string> failures(threads);
  onThreadsAtOnce(threads, [&](std::size_t t) {
    try {
      host::ReferenceSession session(db, std::nullopt);
      for (std::size_t round = 0; round < rounds; ++round)
        seen[t].push_back(referenceRound(session, "t" + std::to_string(t) + "-" + std::to_string(round)));
    } catch (const std::exception& e) {
      failures[t] = e.what();
    }
  });

  std::multiset<std::string> expected = before;
  for (const char* kind : {"CO ", "Spec ", "Handler "}) expected.insert(kind + std::string("alone"));
  for (std::size_t t = 0; t < threads; ++t) {
    EXPECT_EQ(failures[t], "") << "thread " << t;
    ASSERT_EQ(seen[t].size(), rounds) << "thread " << t;
    for (std::size_t round = 0; round < rounds; ++round) {
      const std::string name = "t" + std::to_string(t) + "-" + std::to_string(round);
      const auto& steps = seen[t][round];
      for (std::size_t step = 0; step < alone.size(); ++step) {
        EXPECT_EQ(steps[step]["status"], 0) << name << " step " << step << ": " << steps[step].dump();
        EXPECT_EQ(steps[step]["trace"], alone[step]["trace"]) << name << " step " << step;
      }
      EXPECT_EQ(steps[2]["results"], alone[2]["results"]) << name << ": the specification read back";
      EXPECT_EQ(steps[5]["results"], alone[5]["results"]) << name << ": the milestones";
      const Json& handlerNames = steps[4]["results"]["result0"];
      EXPECT_NE(handlerNames.dump().find("\"Handler " + name + "\""), std::string::npos)
          << handlerNames.dump();
      for (const char* kind : {"CO ", "Spec ", "Handler "}) expected.insert(kind + name);
    }
  }
  EXPECT_EQ(names(), expected);
  EXPECT_EQ(host::Database::open(db, host::Database::Mode::Open)->integrityCheck(), "ok");
}

// A thread's own sink hears that thread only; the process-wide sink hears the threads that
// have none; with neither, nothing is heard.
TEST(TraceSinks, EachThreadHearsItsOwnAndTheProcessSinkTheRest) {
  ZORQemTrace trace("SINGLE_IDL", "SINGLE_IDL", "STDOUT", 1024, static_cast<ZORTraMode>(0));
  TraceCapture processWide, mine;
  setTraceSink(&processWide);
  {
    ScopedTraceSink sink(&mine);
    std::thread([&] { trace << "other " << 1 << "\n"; }).join();
    trace << "mine " << 2 << "\n";
  }
  trace << "after\n";
  setTraceSink(nullptr);
  trace << "unheard\n";
  EXPECT_EQ(texts(mine.take()), (std::vector<std::string>{"mine 2"}));
  EXPECT_EQ(texts(processWide.take()), (std::vector<std::string>{"other 1", "after"}));
}

ZORBaseUnknown* makeStreamable() { return new StreamableBase; }

// Late types are looked up without a lock: a lookup while others are registered (and the
// index grows several times) finds what was registered before, and every new one is found.
TEST(LateTypes, AreFoundWhileMoreAreRegistered) {
  registerLateType("ConcurrencyTestLT", IID_MIROIStreamable, &makeStreamable);
  std::atomic<bool> done{false};
  std::atomic<int> missed{0};
  std::thread reader([&] {
    while (!done.load()) {
      ZORObject object("ConcurrencyTestLT", nullptr);
      if (object.IsNull()) ++missed;
    }
  });
  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) {
    names.push_back("ConcurrencyTestLT" + std::to_string(i));
    registerLateType(names.back().c_str(), IID_MIROIStreamable, &makeStreamable);
  }
  done = true;
  reader.join();
  EXPECT_EQ(missed.load(), 0);
  for (const std::string& name : names) {
    ZORObject object(name.c_str(), nullptr);
    MIROIStreamable* streamable = nullptr;
    ASSERT_EQ(object.QueryInterface(IID_MIROIStreamable, reinterpret_cast<void**>(&streamable)), S_OK)
        << name;
    streamable->Release();
  }
}

}  // namespace
}  // namespace oks::test
