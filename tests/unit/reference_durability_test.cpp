// The reference store under okshost processes killed mid-script and running side by side, on every
// engine: after a kill the store is consistent and holds exactly the steps that completed, each
// whole; several processes writing one store keep every addition once and the service's uniqueness
// rules; processes contending for one specification and one handler lose no update, and every
// command the store gave up for a concurrent one's sake ended in a commit.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "support/store_tests.h"
#include <oks/host/codec.h>
#include <oks/host/reference/database.h>

namespace oks::test {
namespace {

using host::Database;
using host::Json;
using Clock = std::chrono::steady_clock;

// Objects of examples/store.json.
const std::string kBike = "10000000000000000000000000000001";      // the root class
const std::string kCity = "20000000000000000000000000000001";      // a product type under it
const std::string kCityBase = "40000000000000000000000000000001";  // a specification of City
const std::string kCityView = "30000000000000000000000000000001";  // a configured view under Bike
const std::string kLaunch = "70000000000000000000000000000001";    // a handler under Bike, City view
const std::string kUnderBike = "CO " + kBike + "/";

Json byUuid(const std::string& uuid) { return {{"Nodes", {{{"UUID", uuid}}}}}; }
Json node(const std::string& name, const std::string& type) { return {{"Name", name}, {"Type", type}}; }

// A script step; one that must pass expects status 0, one that may fail says so.
Json step(const std::string& name, const std::string& command, const Json& params, bool mayFail = false) {
  Json s = {{"name", name}, {"command", command}, {"params", params}};
  if (mayFail)
    s["mayFail"] = true;
  else
    s["expect"] = {{"status", 0}};
  return s;
}

// A step adding change objects of the names under the root class, in one command.
Json addChangeObjects(const std::string& name, const std::vector<std::string>& names, bool mayFail = false) {
  Json seq = Json::array();
  for (const auto& n : names) seq.push_back({{"Name", n}, {"Nodes", {node("Bike", "PRC")}}});
  return step(name, "OKS_addCO", {{"Param0", {{"XNodeSeq", seq}}}}, mayFail);
}

std::string writeScript(const Json& steps) {
  std::string path = scratchFile("script.json");
  std::ofstream(path) << Json{{"steps", steps}}.dump();
  return path;
}

// Runs one script per process on the store, all at once, and expects each to pass every step.
void runAtOnce(int processes, const std::string& store, const std::function<Json(int)>& stepsOf) {
  std::vector<pid_t> pids;
  std::vector<std::string> outputs;
  for (int p = 0; p < processes; ++p) {
    outputs.push_back(scratchFile("process.out"));
    pids.push_back(
        startOkshost({"--trace", "script", writeScript(stepsOf(p)), "--store", store}, outputs[p]));
  }
  for (int p = 0; p < processes; ++p)
    EXPECT_EQ(waitFor(pids[p]), 0) << "process " << p << ":\n" << contents(outputs[p]);
}

// The objects of a store: how many have each name, how many each UUID, and the versions kept
// under each name where the service makes versions (specifications, handlers).
struct Census {
  std::map<std::string, int> names;  // "TYPE OWNER/NAME"
  std::map<std::string, int> uuids;
  std::map<std::string, std::multiset<std::string>> versions;  // "PS OWNER/NAME", "CH FIRST SECOND ID"
  std::map<std::string, std::string> domains;                  // a specification's domain by UUID
  std::string integrity;

  int count(const std::string& name) const { return names.count(name) ? names.at(name) : 0; }
};

Census census(const std::string& location) {
  Census c;
  auto database = Database::open(location, Database::Mode::Open);
  c.integrity = database->integrityCheck();
  database->forEach([&c](const reference::StoredObject& stored) {
    Json o = Json::parse(stored.text);
    std::string type = o["Type"], name = type + " " + o.value("owner", "") + "/" + o.value("Name", "");
    ++c.uuids[stored.uuid];
    ++c.names[name];
    if (type == "PS") {
      c.versions[name].insert(o.value("version", ""));
      c.domains[o["UUID"]] = o.value("domain", "");
    }
    if (type == "CH")
      c.versions[type + " " + o.value("first", "") + " " + o.value("second", "") + " " + o.value("id", "")]
          .insert(std::to_string(o.value("version", 1)));
  });
  return c;
}

// What holds after any run: the store's own check passes, no UUID is there twice, no name twice
// under one owner (change objects), no version twice under one name (specifications, handlers).
void expectConsistent(const Census& c) {
  EXPECT_EQ(c.integrity, "ok");
  for (const auto& [uuid, count] : c.uuids) EXPECT_EQ(count, 1) << uuid;
  for (const auto& [name, count] : c.names)
    if (name.starts_with("CO ")) {
      EXPECT_EQ(count, 1) << name;
    }
  for (const auto& [name, versions] : c.versions)
    for (const auto& v : versions) EXPECT_EQ(versions.count(v), 1u) << name << " version " << v;
}

class ReferenceDurability : public StoreTest {
 protected:
  // The store is consistent, its export passes the store-file loader's checks (no duplicate, no
  // dangling reference), and the store it makes exports the same again.
  void expectConsistentAndExportLoads(const std::string& location) {
    expectConsistent(census(location));
    std::string exported = scratchFile("exported.json"), again = scratchFile("again.json");
    std::string loaded = freshLocation();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"store", "export", location, "--out", exported},
          {"store", "init", loaded, "--from", exported},
          {"store", "export", loaded, "--out", again}}) {
      HostRun run = okshost(args);
      ASSERT_EQ(run.exit, 0) << args[1] << ": " << run.out;
    }
    EXPECT_EQ(contents(again), contents(exported));
  }
};
INSTANTIATE_TEST_SUITE_P(Engines, ReferenceDurability, kEngines, engineName);

TEST_P(ReferenceDurability, AKilledScriptLeavesExactlyTheStepsThatCompleted) {
  constexpr int kSteps = 30, kPerStep = 3;
  std::string store = initFromExample();
  // Round r's script adds "K<r>-<step>-<k>": every round writes names of its own into the one
  // store, so that each round's steps can be counted after its kill.
  auto name = [](int round, int step, int k) {
    return "K" + std::to_string(round) + "-" + std::to_string(step) + "-" + std::to_string(k);
  };
  auto script = [&](int round) {
    Json steps = Json::array();
    for (int i = 0; i < kSteps; ++i) {
      std::vector<std::string> names;
      for (int k = 0; k < kPerStep; ++k) names.push_back(name(round, i, k));
      steps.push_back(addChangeObjects("step" + std::to_string(i), names));
    }
    return writeScript(steps);
  };
  // The steps of a round in the store: a prefix of the script, each step whole.
  auto completedSteps = [&](const Census& c, int round) {
    int completed = 0;
    while (completed < kSteps && c.count(kUnderBike + name(round, completed, 0))) ++completed;
    for (int i = 0; i < kSteps; ++i)
      for (int k = 0; k < kPerStep; ++k)
        EXPECT_EQ(c.count(kUnderBike + name(round, i, k)), i < completed ? 1 : 0)
            << "round " << round << " step " << i << " with " << completed << " steps completed";
    return completed;
  };

  // How long the whole script takes (round 0 runs to its end), so that kills fall anywhere in it.
  auto start = Clock::now();
  ASSERT_EQ(waitFor(startOkshost({"script", script(0), "--store", store})), 0);
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();

  std::mt19937 random(std::random_device{}());
  int rounds = 1, partial = 0;
  // The bound only keeps a hung store from holding the suite: fifty kills take about 5 s in the
  // normal build, but over 50 s in the sanitizer build while the allocation sweep shares the cores.
  auto deadline = Clock::now() + std::chrono::seconds(180);
  for (; rounds <= 50 && Clock::now() < deadline && !HasFailure(); ++rounds) {
    pid_t pid = startOkshost({"script", script(rounds), "--store", store});
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<long>(0, whole)(random)));
    kill(pid, SIGKILL);
    waitFor(pid);
    Census c = census(store);
    ASSERT_EQ(c.integrity, "ok") << "after kill " << rounds;
    int completed = completedSteps(c, rounds);
    if (completed > 0 && completed < kSteps) ++partial;
  }
  EXPECT_GT(rounds, 50);
  EXPECT_GT(partial, 0) << "no kill fell inside the script";

  // No later round disturbed an earlier one's steps, and the whole store is consistent.
  Census c = census(store);
  EXPECT_EQ(completedSteps(c, 0), kSteps);
  for (int round = 1; round < rounds; ++round) completedSteps(c, round);
  expectConsistentAndExportLoads(store);
}

TEST_P(ReferenceDurability, ProcessesSideBySideKeepEveryAdditionOnceAndTheUniquenessRules) {
  constexpr int kProcesses = 8, kSteps = 20;
  std::string store = initFromExample();
  runAtOnce(kProcesses, store, [&](int p) {
    Json steps = Json::array();
    for (int i = 0; i < kSteps; ++i) {
      std::string name = "P" + std::to_string(p) + "-" + std::to_string(i);
      steps.push_back(addChangeObjects(name, {name}));
      steps.push_back(step("read-" + name, "OKS_getConfigTree", {{"Param0", {{"Node", node(name, "CO")}}}}));
      // Every process tries the same change object and the same handler: one of each is made.
      steps.push_back(addChangeObjects("shared-" + name, {"Shared"}, true));
      steps.push_back(step("handler-" + name, "OKS_addCH",
                           {{"Param0", {{"Node", node("Bike", "PRC")}}},
                            {"Param1", {{"Node", node("City view", "CV")}}},
                            {"Param3", {{"string", "Shared"}}},
                            {"Param4", {{"string", "made by one process"}}}},
                           true));
    }
    return steps;
  });

  Census c = census(store);
  for (int p = 0; p < kProcesses; ++p)
    for (int i = 0; i < kSteps; ++i)
      EXPECT_EQ(c.count(kUnderBike + "P" + std::to_string(p) + "-" + std::to_string(i)), 1);
  EXPECT_EQ(c.count(kUnderBike + "Shared"), 1);
  EXPECT_EQ(c.count("CH " + kCityView + "/Shared"), 1);
  expectConsistentAndExportLoads(store);
}

// Every process makes new versions of one specification and of one handler (each the next after
// the latest it reads) and overwrites that specification's domain: a lost update shows as a
// version made twice or missing. Every step must succeed: a command the store gave up for a
// concurrent one's sake ran again until it committed (okshost exits 2 when it gave up).
TEST_P(ReferenceDurability, ContendingProcessesLoseNoUpdate) {
  constexpr int kProcesses = 8, kSteps = 8;
  std::string store = initFromExample();
  runAtOnce(kProcesses, store, [&](int p) {
    Json steps = Json::array();
    for (int i = 0; i < kSteps; ++i) {
      std::string tag = "P" + std::to_string(p) + "-" + std::to_string(i);
      steps.push_back(step("handler-version-" + tag, "OKS_createFilterVersion",
                           {{"Param0", {{"XNode", byUuid(kLaunch)}}}}));
      steps.push_back(step("spec-version-" + tag, "OKS_addCOProdSpec",
                           {{"Param0", {{"XNodeSeq", {byUuid(kCityBase)}}}},
                            {"Param1", {{"streamable", {{"string", "1"}}}}}}));
      steps.push_back(step("spec-domain-" + tag, "OKS_setProdSpec",
                           {{"Param0", {{"XNode", byUuid(kCityBase)}}},
                            {"Param1", {{"NodeSeq", Json::array()}}},
                            {"Param3", {{"streamable", {{"string", tag}}}}}}));
    }
    return steps;
  });

  Census c = census(store);
  const int made = kProcesses * kSteps;
  std::multiset<std::string> handlerVersions;
  for (int v = 1; v <= 1 + made; ++v) handlerVersions.insert(std::to_string(v));
  EXPECT_EQ(c.versions["CH " + kBike + " " + kCityView + " Launch"], handlerVersions);
  EXPECT_EQ(c.versions["PS " + kCity + "/City Base"].size(), 1u + made);
  std::set<std::string> lastWrites;
  for (int p = 0; p < kProcesses; ++p)
    lastWrites.insert("P" + std::to_string(p) + "-" + std::to_string(kSteps - 1));
  EXPECT_TRUE(lastWrites.count(c.domains[kCityBase])) << c.domains[kCityBase];
  expectConsistentAndExportLoads(store);
}

}  // namespace
}  // namespace oks::test
