// The reference store in a database, through okshost as a user runs it: what commands change is
// kept in a database and not in a store file, init and export give back the same objects, the
// reading sub-commands name objects as documented, and a bad, read-only, locked or full
// database gives one line, exit code 2, and is left as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>

namespace {

using oks::host::Database;
using oks::host::Json;

const std::string kStoreFile = std::string(OKS_SOURCE_DIR) + "/examples/store.json";
const std::string kAddChangeObject =
    R"(--param 'Param0={"XNodeSeq": [{"Name": "CO-new", "Nodes": [{"Name": "Bike", "Type": "PRC"}]}]}')";
const std::string kChildrenOfBike =
    R"(--param 'Param0={"XNodeSeq": [{"Nodes": [{"Name": "Bike", "Type": "PRC"}]}]}')";

struct HostRun {
  int exit;
  std::string out;  // standard output, then standard error
};

HostRun okshost(const std::string& arguments) {
  std::string command =
      std::string(OKS_HOST_PATH) + " --library " + OKS_LIBRARY_PATH + " " + arguments + " 2>&1";
  HostRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
  int status = pclose(pipe);
  run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string fresh(const std::string& name) {
  std::string path = testing::TempDir() + name;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  return path;
}

std::string contents(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::string initFromExample(const std::string& name) {
  std::string db = fresh(name);
  HostRun init = okshost("store init " + db + " --from " + kStoreFile);
  EXPECT_EQ(init.exit, 0) << init.out;
  return db;
}

// The objects of a store file as the store would keep them, in order.
std::vector<std::string> objectsOf(const std::string& storeFile) {
  auto database = Database::open("", Database::Mode::Temporary);
  oks::reference::Store store(*database);
  oks::host::loadStoreFile(storeFile, store);
  std::vector<std::string> out;
  const Json file = Json::parse(contents(storeFile));
  for (const auto& o : file["objects"])
    out.push_back(oks::host::storeObject(*store.find(o["UUID"].get<std::string>())).dump());
  return out;
}

TEST(ReferenceDatabase, ADatabaseKeepsWhatCommandsChangeAStoreFileDoesNot) {
  std::string db = initFromExample("keeps.db");
  EXPECT_EQ(okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject).exit, 0);
  HostRun children = okshost("exec OKS_getChildren --store " + db + " " + kChildrenOfBike);
  EXPECT_NE(children.out.find("\"CO-new\""), std::string::npos) << children.out;
  // The same name under the same owner is refused now: the first one was kept.
  EXPECT_EQ(okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject).exit, 1);

  std::string before = contents(kStoreFile);
  EXPECT_EQ(okshost("exec OKS_addCO --store " + kStoreFile + " " + kAddChangeObject).exit, 0);
  EXPECT_EQ(okshost("exec OKS_addCO --store " + kStoreFile + " " + kAddChangeObject).exit, 0);
  EXPECT_EQ(contents(kStoreFile), before);

  // Repeatable UUIDs with a seed, random ones without.
  auto uuidOf = [](const HostRun& run) { return run.out.substr(run.out.find("\"UUID\":"), 43); };
  std::string other =
      " --store " + kStoreFile +
      R"( --param 'Param0={"XNodeSeq": [{"Name": "X", "Nodes": [{"Name": "Bike", "Type": "PRC"}]}]}')";
  EXPECT_EQ(uuidOf(okshost("exec OKS_addCO --seed 7" + other)),
            uuidOf(okshost("exec OKS_addCO --seed 7" + other)));
  EXPECT_NE(uuidOf(okshost("exec OKS_addCO" + other)), uuidOf(okshost("exec OKS_addCO" + other)));
}

TEST(ReferenceDatabase, InitThenExportGivesBackTheSameObjects) {
  std::string db = initFromExample("roundtrip.db");
  EXPECT_EQ(okshost("store init " + db).exit, 2);  // an existing file is refused without --force
  std::string exported = fresh("roundtrip.json");
  ASSERT_EQ(okshost("store export " + db + " --out " + exported).exit, 0);
  EXPECT_EQ(objectsOf(exported), objectsOf(kStoreFile));

  std::string again = initFromExample("roundtrip2.db");
  ASSERT_EQ(okshost("store init " + again + " --force --from " + exported).exit, 0);
  EXPECT_EQ(okshost("store export " + again).out, contents(exported));

  // A store file the loader refuses makes no database.
  std::string refused = fresh("refused.db");
  std::string bad = fresh("bad.json");
  std::ofstream(bad) << R"({"objects": [{"UUID": "01", "Type": "PRC", "owner": "01"}]})";
  HostRun init = okshost("store init " + refused + " --from " + bad);
  EXPECT_EQ(init.exit, 2);
  EXPECT_EQ(init.out, "okshost: " + bad + ": objects[0].owner: the object owns itself\n");
  EXPECT_FALSE(std::filesystem::exists(refused));
}

TEST(ReferenceDatabase, ReadingSubCommandsNameObjectsByUuidNameOrTypeAndName) {
  std::string db = initFromExample("reading.db");
  HostRun tree = okshost("store tree " + db + " Scooter --depth 1");
  EXPECT_EQ(tree.out,
            "PRC \"Scooter\"  10000000000000000000000000000002\n"
            "  PT \"Kick\"  20000000000000000000000000000003\n"
            "  PT \"E-Scooter\"  20000000000000000000000000000004\n"
            "  CV \"Kick view\"  30000000000000000000000000000002\n"
            "  CO \"CO-S1\"  50000000000000000000000000000002\n");
  Json treeJson = Json::parse(okshost("store tree " + db + " 10000000000000000000000000000002 --json").out);
  EXPECT_EQ(treeJson[0]["children"][0]["Name"], "Kick");

  HostRun show = okshost("store show " + db + " 'PS:City EU 2026'");
  EXPECT_NE(show.out.find("\nversion: A\n"), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("\ndomain: EU\n"), std::string::npos) << show.out;
  HostRun effectivity = okshost("store effectivity " + db + " 'City EU 2026' --domain EU");
  EXPECT_EQ(
      effectivity.out,
      "PS \"City EU 2026\" A [EU]: [2026-01-01 .. 2026-12-31] AND SPEC \"EU\" AND MILESTONE \"LOT-A\" .. "
      "\"LOT-A\"\n");

  HostRun missing = okshost("store show " + db + " Nothing");
  EXPECT_EQ(missing.exit, 2);
  EXPECT_EQ(missing.out, "okshost: Nothing: no object of that UUID or name\n");
}

// Each bad database: one line naming it, exit code 2, and the file as it was.
TEST(ReferenceDatabase, BadDatabasesAreRefusedAndLeftAsTheyWere) {
  auto refusedUntouched = [](const std::string& db, const std::string& arguments,
                             const std::string& message) {
    std::string before = contents(db);
    HostRun run = okshost(arguments);
    EXPECT_EQ(run.exit, 2) << run.out;
    EXPECT_EQ(run.out, "okshost: " + db + ": " + message + "\n");
    EXPECT_EQ(contents(db), before);
    EXPECT_FALSE(std::filesystem::exists(db + "-wal"));
  };
  std::string text = fresh("text.db");
  std::ofstream(text) << std::string(4096, 'x');
  refusedUntouched(text, "store tree " + text, "not a store database (file is not a database)");

  std::string truncated = initFromExample("truncated.db");
  std::filesystem::resize_file(truncated, 1024);
  for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(truncated + suffix);
  HostRun corrupt = okshost("store tree " + truncated);
  EXPECT_EQ(corrupt.exit, 2) << corrupt.out;
  EXPECT_EQ(std::count(corrupt.out.begin(), corrupt.out.end(), '\n'), 1) << corrupt.out;

  std::string other = initFromExample("other.db");
  Database::open(other, Database::Mode::Open)->execute("UPDATE store_schema SET version = 7");
  for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(other + suffix);
  refusedUntouched(other, "exec OKS_addCO --store " + other + " " + kAddChangeObject,
                   "a store database of schema version 7; this okshost reads version 1");
}

TEST(ReferenceDatabase, AReadOnlyDatabaseReadsAndRefusesWrites) {
  std::string db = initFromExample("readonly.db");
  ::chmod(db.c_str(), 0444);
  if (::access(db.c_str(), W_OK) == 0) GTEST_SKIP() << "running as a user who writes read-only files";
  EXPECT_EQ(okshost("exec OKS_getChildren --store " + db + " " + kChildrenOfBike).exit, 0);
  HostRun write = okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject);
  EXPECT_EQ(write.exit, 2) << write.out;
  EXPECT_NE(write.out.find("read-only"), std::string::npos) << write.out;
  ::chmod(db.c_str(), 0644);
  EXPECT_EQ(okshost("exec OKS_getChildren --store " + db + " " + kChildrenOfBike).out.find("CO-new"),
            std::string::npos);
}

TEST(ReferenceDatabase, ALockHeldPastTheBusyTimeoutFailsTheCommandWhichRunsAgainLater) {
  std::string db = initFromExample("locked.db");
  ::setenv("OKS_STORE_BUSY_TIMEOUT_MS", "200", 1);
  {
    auto writer = Database::open(db, Database::Mode::Open);
    writer->begin();
    HostRun locked = okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject);
    EXPECT_EQ(locked.exit, 2);
    EXPECT_EQ(locked.out,
              "okshost: " + db +
                  ": the database is locked by another writer; run the command again (beginning a "
                  "transaction)\n");
    writer->rollback();
  }
  EXPECT_EQ(okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject).exit, 0);
  ::unsetenv("OKS_STORE_BUSY_TIMEOUT_MS");
}

TEST(ReferenceDatabase, AFullDatabaseRollsTheTransactionBackAndStaysIntact) {
  std::string db = initFromExample("full.db");
  auto database = Database::open(db, Database::Mode::Open);
  database->execute("PRAGMA max_page_count = 1");  // no page more than it has
  oks::reference::Store store(*database, 1);
  store.begin();
  EXPECT_THROW(
      {
        for (int i = 0; i < 2000; ++i) store.create("CO", "CO-" + std::to_string(i), "", "CONFIG");
        store.commit();
      },
      oks::host::StoreError);
  store.rollback();
  std::size_t objects = 0;
  database->forEach([&objects](const oks::reference::StoredObject&) { ++objects; });
  EXPECT_EQ(objects, 27u);
  EXPECT_EQ(database->integrityCheck(), "ok");
}

}  // namespace
