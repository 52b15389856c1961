// The reference store under okshost processes killed mid-script and running side by side: after
// a kill the database is intact and holds exactly the steps that completed, each whole; several
// processes writing one database keep every addition once and the service's uniqueness rules.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "support/postgresql.h"
#include <oks/host/codec.h>
#include <oks/host/reference/database.h>

namespace {

using oks::host::Database;
using oks::host::Json;
using Clock = std::chrono::steady_clock;

const std::string kStoreFile = std::string(OKS_SOURCE_DIR) + "/examples/store.json";

// A step adding change objects of the names under the root class Bike, in one command.
Json addChangeObjects(const std::string& step, const std::vector<std::string>& names) {
  Json seq = Json::array();
  for (const auto& n : names) seq.push_back({{"Name", n}, {"Nodes", {{{"Name", "Bike"}, {"Type", "PRC"}}}}});
  return {{"name", step}, {"command", "OKS_addCO"}, {"params", {{"Param0", {{"XNodeSeq", seq}}}}}};
}

std::string writeScript(const std::string& name, const Json& steps) {
  std::string path = testing::TempDir() + name;
  std::ofstream(path) << Json{{"steps", steps}}.dump();
  return path;
}

pid_t startOkshost(const std::vector<std::string>& arguments) {
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<std::string> all{OKS_HOST_PATH, "--library", OKS_LIBRARY_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
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

std::string initDatabase(const std::string& name) {
  std::string db = testing::TempDir() + name;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
  EXPECT_EQ(waitFor(startOkshost({"store", "init", db, "--from", kStoreFile})), 0);
  return db;
}

// The objects of the database: how many have each name, and how many each UUID.
struct Census {
  std::map<std::string, int> names;  // "TYPE OWNER/NAME"
  std::map<std::string, int> uuids;
  std::map<std::string, int> handlers;  // "first second id version"
  std::string integrity;
};

Census census(const std::string& db) {
  Census c;
  auto database = Database::open(db, Database::Mode::Open);
  c.integrity = database->integrityCheck();
  database->forEach([&c](const oks::reference::StoredObject& stored) {
    Json o = Json::parse(stored.text);
    ++c.uuids[stored.uuid];
    ++c.names[o["Type"].get<std::string>() + " " + o.value("owner", "") + "/" + o.value("Name", "")];
    if (o["Type"] == "CH")
      ++c.handlers[o.value("first", "") + " " + o.value("second", "") + " " + o.value("id", "") + " " +
                   std::to_string(o.value("version", 1))];
  });
  return c;
}

const std::string kUnderBike = "CO 10000000000000000000000000000001/";

TEST(ReferenceDurability, AKilledScriptLeavesExactlyTheStepsThatCompleted) {
  constexpr int kSteps = 30, kPerStep = 3;
  Json steps = Json::array();
  for (int i = 0; i < kSteps; ++i) {
    std::vector<std::string> names;
    for (int k = 0; k < kPerStep; ++k) names.push_back("K" + std::to_string(i) + "-" + std::to_string(k));
    steps.push_back(addChangeObjects("step" + std::to_string(i), names));
  }
  std::string script = writeScript("kill.json", steps);
  std::string base = initDatabase("kill-base.db");
  std::string db = testing::TempDir() + "kill.db";

  // How long the whole script takes, so that kills fall anywhere in it.
  std::filesystem::copy_file(base, db, std::filesystem::copy_options::overwrite_existing);
  auto start = Clock::now();
  ASSERT_EQ(waitFor(startOkshost({"script", script, "--store", db})), 0);
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();

  std::mt19937 random(std::random_device{}());
  int kills = 0, partial = 0;
  auto deadline = Clock::now() + std::chrono::seconds(50);
  while (kills < 50 && Clock::now() < deadline) {
    for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(db + suffix);
    std::filesystem::copy_file(base, db, std::filesystem::copy_options::overwrite_existing);
    pid_t pid = startOkshost({"script", script, "--store", db});
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<long>(0, whole)(random)));
    kill(pid, SIGKILL);
    waitFor(pid);
    ++kills;

    Census c = census(db);
    ASSERT_EQ(c.integrity, "ok") << "after kill " << kills;
    int completed = 0;
    while (completed < kSteps && c.names.count(kUnderBike + "K" + std::to_string(completed) + "-0"))
      ++completed;
    if (completed > 0 && completed < kSteps) ++partial;
    for (int i = 0; i < kSteps; ++i)
      for (int k = 0; k < kPerStep; ++k)
        ASSERT_EQ(c.names[kUnderBike + "K" + std::to_string(i) + "-" + std::to_string(k)],
                  i < completed ? 1 : 0)
            << "step " << i << " after kill " << kills << " with " << completed << " steps completed";
  }
  EXPECT_GE(kills, 50);
  EXPECT_GT(partial, 0) << "no kill fell inside the script";
}

TEST(ReferenceDurability, ProcessesSideBySideKeepEveryAdditionOnceAndTheUniquenessRules) {
  constexpr int kProcesses = 6, kSteps = 25;
  std::string db = initDatabase("side-by-side.db");
  std::vector<pid_t> pids;
  for (int p = 0; p < kProcesses; ++p) {
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
    pids.push_back(
        startOkshost({"script", writeScript("side" + std::to_string(p) + ".json", steps), "--store", db}));
  }
  for (pid_t pid : pids) EXPECT_EQ(waitFor(pid), 0);

  Census c = census(db);
  EXPECT_EQ(c.integrity, "ok");
  for (int p = 0; p < kProcesses; ++p)
    for (int i = 0; i < kSteps; ++i)
      EXPECT_EQ(c.names[kUnderBike + "P" + std::to_string(p) + "-" + std::to_string(i)], 1);
  for (const auto& [uuid, count] : c.uuids) EXPECT_EQ(count, 1) << uuid;
  for (const auto& [name, count] : c.names)
    if (name.starts_with("CO ")) {
      EXPECT_EQ(count, 1) << name;
    }
  for (const auto& [handler, count] : c.handlers) EXPECT_EQ(count, 1) << handler;
  EXPECT_EQ(c.names[kUnderBike + "Shared"], 1);
}

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
