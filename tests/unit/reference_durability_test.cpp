// The reference store under okshost processes killed mid-script and running side by side, on every
// engine: after a kill the store is consistent and holds exactly the steps that completed, each
// whole; several processes writing one store keep every addition once and the service's uniqueness
// rules; processes contending for one specification and one handler lose no update, and every
// command the store gave up for a concurrent one's sake ended in a commit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "support/postgresql.h"
#include <oks/host/codec.h>
#include <oks/host/reference/database.h>

namespace {

using oks::host::Database;
using oks::host::Json;
using oks::test::Engine;
using Clock = std::chrono::steady_clock;

const std::string kStoreFile = std::string(OKS_SOURCE_DIR) + "/examples/store.json";
// Objects of examples/store.json.
const std::string kBike = "10000000000000000000000000000001";      // the root class
const std::string kCity = "20000000000000000000000000000001";      // a product type under it
const std::string kCityBase = "40000000000000000000000000000001";  // a specification of City
const std::string kCityView = "30000000000000000000000000000001";  // a configured view under Bike
const std::string kLaunch = "70000000000000000000000000000001";    // a handler under Bike, City view
const std::string kUnderBike = "CO " + kBike + "/";

Json byUuid(const std::string& uuid) { return {{"Nodes", {{{"UUID", uuid}}}}}; }

// A step adding change objects of the names under the root class, in one command.
Json addChangeObjects(const std::string& step, const std::vector<std::string>& names) {
  Json seq = Json::array();
  for (const auto& n : names) seq.push_back({{"Name", n}, {"Nodes", {{{"Name", "Bike"}, {"Type", "PRC"}}}}});
  return {{"name", step}, {"command", "OKS_addCO"}, {"params", {{"Param0", {{"XNodeSeq", seq}}}}}};
}

// A folder of this process's own for its files, removed when it ends: other test programs, of
// other trees too, may run the same tests at the same time.
const std::string& scratch() {
  static const struct Folder {
    std::string path = testing::TempDir() + "oks-durability-XXXXXX";
    Folder() {
      if (!mkdtemp(path.data())) throw std::runtime_error("cannot make a folder under " + testing::TempDir());
      path += "/";
    }
    ~Folder() { std::filesystem::remove_all(path); }
  } folder;
  return folder.path;
}

std::string writeScript(const std::string& name, const Json& steps) {
  std::string path = scratch() + name;
  std::ofstream(path) << Json{{"steps", steps}}.dump();
  return path;
}

// Starts okshost with the arguments; its standard error goes to `errors` (or nowhere).
pid_t startOkshost(const std::vector<std::string>& arguments, const std::string& errors = "/dev/null") {
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<std::string> all{OKS_HOST_PATH, "--library", OKS_LIBRARY_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    int null = open("/dev/null", O_WRONLY);
    int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(null, 1);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int waitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// Runs one script per process on the store, all at once, and expects each to pass every step;
// answers how many commands committed only after the store gave earlier runs of them up.
int runAtOnce(int processes, const std::string& store, const std::function<Json(int)>& stepsOf) {
  std::vector<pid_t> pids;
  for (int p = 0; p < processes; ++p)
    pids.push_back(startOkshost(
        {"--trace", "script", writeScript(std::to_string(p) + ".json", stepsOf(p)), "--store", store},
        scratch() + std::to_string(p) + ".err"));
  int retried = 0;
  for (int p = 0; p < processes; ++p) {
    int exit = waitFor(pids[p]);
    std::string trace = readFile(scratch() + std::to_string(p) + ".err");
    EXPECT_EQ(exit, 0) << "process " << p << ":\n" << trace;
    for (auto at = trace.find("store: committed after"); at != std::string::npos;
         at = trace.find("store: committed after", at + 1))
      ++retried;
  }
  return retried;
}

// The objects of a store: how many have each name, how many each UUID, and the versions kept
// under each name where the service makes versions (specifications, handlers).
struct Census {
  std::map<std::string, int> names;  // "TYPE OWNER/NAME"
  std::map<std::string, int> uuids;
  std::map<std::string, std::multiset<std::string>> versions;  // "PS OWNER/NAME", "CH FIRST SECOND ID"
  std::map<std::string, std::string> domains;                  // a specification's domain by UUID
  std::string integrity;
};

Census census(const std::string& location) {
  Census c;
  auto database = Database::open(location, Database::Mode::Open);
  c.integrity = database->integrityCheck();
  database->forEach([&c](const oks::reference::StoredObject& stored) {
    Json o = Json::parse(stored.text);
    std::string type = o["Type"];
    ++c.uuids[stored.uuid];
    ++c.names[type + " " + o.value("owner", "") + "/" + o.value("Name", "")];
    if (type == "PS") {
      c.versions[type + " " + o.value("owner", "") + "/" + o.value("Name", "")].insert(
          o.value("version", ""));
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

class ReferenceDurability : public testing::TestWithParam<Engine> {
 protected:
  // A fresh store of the engine holding examples/store.json.
  std::string freshStore(const std::string& tag) {
    std::string location = stores_.location(scratch() + tag + ".db");
    EXPECT_EQ(waitFor(startOkshost({"store", "init", location, "--from", kStoreFile})), 0);
    return location;
  }

  // The store's export passes the store-file loader's checks (no duplicate, no dangling
  // reference), and the store it makes exports the same again: a round trip of a generated store.
  void expectExportLoads(const std::string& location) {
    std::string exported = scratch() + "exported.json",
                loaded = oks::test::absentStoreFile(scratch() + "loaded.db");
    std::string again = scratch() + "again.json", errors = scratch() + "export.err";
    for (const auto& [args, out] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"store", "export", location, "--out", exported}, exported},
             {{"store", "init", loaded, "--from", exported}, loaded},
             {{"store", "export", loaded, "--out", again}, again}})
      ASSERT_EQ(waitFor(startOkshost(args, errors)), 0) << out << ": " << readFile(errors);
    EXPECT_EQ(readFile(again), readFile(exported));
  }

 private:
  oks::test::FreshStores stores_{GetParam()};
};

TEST_P(ReferenceDurability, AKilledScriptLeavesExactlyTheStepsThatCompleted) {
  constexpr int kSteps = 30, kPerStep = 3;
  std::string store = freshStore("kill");
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
    return writeScript("kill.json", steps);
  };
  // The steps of a round in the store: a prefix of the script, each step whole.
  auto completedSteps = [&](const Census& c, int round) {
    int completed = 0;
    while (completed < kSteps && c.names.count(kUnderBike + name(round, completed, 0))) ++completed;
    for (int i = 0; i < kSteps; ++i)
      for (int k = 0; k < kPerStep; ++k)
        EXPECT_EQ(
            c.names.count(kUnderBike + name(round, i, k)) ? c.names.at(kUnderBike + name(round, i, k)) : 0,
            i < completed ? 1 : 0)
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
  while (rounds <= 50 && Clock::now() < deadline && !HasFailure()) {
    pid_t pid = startOkshost({"script", script(rounds), "--store", store});
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<long>(0, whole)(random)));
    kill(pid, SIGKILL);
    waitFor(pid);
    Census c = census(store);
    ASSERT_EQ(c.integrity, "ok") << "after kill " << rounds;
    int completed = completedSteps(c, rounds);
    if (completed > 0 && completed < kSteps) ++partial;
    ++rounds;
  }
  EXPECT_GT(rounds, 50);
  EXPECT_GT(partial, 0) << "no kill fell inside the script";

  // No later round disturbed an earlier one's steps, and the whole store is consistent.
  Census c = census(store);
  expectConsistent(c);
  EXPECT_EQ(completedSteps(c, 0), kSteps);
  for (int round = 1; round < rounds; ++round) completedSteps(c, round);
  expectExportLoads(store);
}

TEST_P(ReferenceDurability, ProcessesSideBySideKeepEveryAdditionOnceAndTheUniquenessRules) {
  constexpr int kProcesses = 8, kSteps = 20;
  std::string store = freshStore("side-by-side");
  runAtOnce(kProcesses, store, [&](int p) {
    Json steps = Json::array();
    for (int i = 0; i < kSteps; ++i) {
      std::string name = "P" + std::to_string(p) + "-" + std::to_string(i);
      steps.push_back(addChangeObjects(name, {name}));
      steps.push_back({{"name", "read-" + name},
                       {"command", "OKS_getConfigTree"},
                       {"params", {{"Param0", {{"Node", {{"Name", name}, {"Type", "CO"}}}}}}},
                       {"expect", {{"status", 0}}}});
      // Every process tries the same change object and the same handler: one of each is made.
      Json shared = addChangeObjects("shared-" + name, {"Shared"});
      shared["mayFail"] = true;
      steps.push_back(shared);
      steps.push_back({{"name", "handler-" + name},
                       {"command", "OKS_addCH"},
                       {"mayFail", true},
                       {"params",
                        {{"Param0", {{"Node", {{"Name", "Bike"}, {"Type", "PRC"}}}}},
                         {"Param1", {{"Node", {{"Name", "City view"}, {"Type", "CV"}}}}},
                         {"Param3", {{"string", "Shared"}}},
                         {"Param4", {{"string", "made by one process"}}}}}});
    }
    return steps;
  });

  Census c = census(store);
  expectConsistent(c);
  for (int p = 0; p < kProcesses; ++p)
    for (int i = 0; i < kSteps; ++i)
      EXPECT_EQ(c.names[kUnderBike + "P" + std::to_string(p) + "-" + std::to_string(i)], 1);
  EXPECT_EQ(c.names[kUnderBike + "Shared"], 1);
  EXPECT_EQ(c.names["CH " + kCityView + "/Shared"], 1);
}

// Every process makes new versions of one specification and of one handler (each the next after
// the latest it reads) and overwrites that specification's domain: a lost update shows as a
// version made twice or missing. Every step must succeed: a command the store gave up for a
// concurrent one's sake ran again until it committed (okshost exits 2 when it gave up).
TEST_P(ReferenceDurability, ContendingProcessesLoseNoUpdate) {
  constexpr int kProcesses = 8, kSteps = 8;
  std::string store = freshStore("contended");
  int retried = runAtOnce(kProcesses, store, [&](int p) {
    Json steps = Json::array();
    for (int i = 0; i < kSteps; ++i) {
      std::string tag = "P" + std::to_string(p) + "-" + std::to_string(i);
      steps.push_back({{"name", "handler-version-" + tag},
                       {"command", "OKS_createFilterVersion"},
                       {"params", {{"Param0", {{"XNode", byUuid(kLaunch)}}}}},
                       {"expect", {{"status", 0}}}});
      steps.push_back({{"name", "spec-version-" + tag},
                       {"command", "OKS_addCOProdSpec"},
                       {"params",
                        {{"Param0", {{"XNodeSeq", {byUuid(kCityBase)}}}},
                         {"Param1", {{"streamable", {{"string", "1"}}}}}}},
                       {"expect", {{"status", 0}}}});
      steps.push_back({{"name", "spec-domain-" + tag},
                       {"command", "OKS_setProdSpec"},
                       {"params",
                        {{"Param0", {{"XNode", byUuid(kCityBase)}}},
                         {"Param1", {{"NodeSeq", Json::array()}}},
                         {"Param3", {{"streamable", {{"string", tag}}}}}}},
                       {"expect", {{"status", 0}}}});
    }
    return steps;
  });
  std::cout << "commands that committed after retries: " << retried << "\n";

  Census c = census(store);
  expectConsistent(c);
  const int made = kProcesses * kSteps;
  std::multiset<std::string> handlerVersions;
  for (int v = 1; v <= 1 + made; ++v) handlerVersions.insert(std::to_string(v));
  EXPECT_EQ(c.versions["CH " + kBike + " " + kCityView + " Launch"], handlerVersions);
  EXPECT_EQ(c.versions["PS " + kCity + "/City Base"].size(), 1u + made);
  std::set<std::string> lastWrites;
  for (int p = 0; p < kProcesses; ++p)
    lastWrites.insert("P" + std::to_string(p) + "-" + std::to_string(kSteps - 1));
  EXPECT_TRUE(lastWrites.count(c.domains[kCityBase])) << c.domains[kCityBase];
  expectExportLoads(store);
}

// The PostgreSQL rows run on the tests' server (the CTest fixture "postgresql").
INSTANTIATE_TEST_SUITE_P(Engines, ReferenceDurability, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         oks::test::engineName<testing::TestParamInfo<Engine>>);

// What the PostgreSQL tests rely on from the tests' server: each test's database is its own and
// goes with it, and the password role is checked by its password.
TEST(PostgreSQLTestServer, FreshDatabasesAreSeparateAndDroppedAndThePasswordRoleIsChecked) {
  std::string dropped;
  {
    oks::test::PostgreSQLDatabase a, b;
    EXPECT_NE(a.uri(), b.uri());
    oks::test::postgresqlExecute(a.uri(), "CREATE TABLE t (x integer)");
    oks::test::postgresqlExecute(b.uri(), "CREATE TABLE t (x integer)");  // b does not see a's table
    oks::test::postgresqlExecute(a.uriAs("oks_password", "right-password"), "SELECT 1");
    EXPECT_THROW(oks::test::postgresqlExecute(a.uriAs("oks_password", "wrong-password"), "SELECT 1"),
                 std::runtime_error);
    dropped = a.uri();
  }
  EXPECT_THROW(oks::test::postgresqlExecute(dropped, "SELECT 1"), std::runtime_error);
}

}  // namespace
