// The reference store on both engines, SQLite files and PostgreSQL databases: every operation of
// the database answers from it; through okshost as a user runs it, what commands change is kept,
// init and export give back the same objects, the reading sub-commands name objects as
// documented, and a bad store gives one line, exit code 2, and is left as it was. Then what only
// one engine has: on PostgreSQL, a command the server gives up for a concurrent one runs again;
// on SQLite, a store file is never written, and a read-only, locked or full database is refused
// cleanly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "support/postgresql.h"
#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>

namespace {

using oks::host::Database;
using oks::host::Json;
using oks::reference::Link;
using oks::reference::Object;
using oks::test::Engine;

const std::string kStoreFile = std::string(OKS_SOURCE_DIR) + "/examples/store.json";
const std::string kAddChangeObject =
    R"(--param 'Param0={"XNodeSeq": [{"Name": "CO-new", "Nodes": [{"Name": "Bike", "Type": "PRC"}]}]}')";
const std::string kChildrenOfBike =
    R"(--param 'Param0={"XNodeSeq": [{"Nodes": [{"Name": "Bike", "Type": "PRC"}]}]}')";

struct HostRun {
  int exit;
  std::string out;  // standard output, then standard error
};

// okshost with the arguments, started; the prefix runs it (e.g. as another user).
FILE* startOkshost(const std::string& arguments, const std::string& prefix = "") {
  std::string command =
      prefix + std::string(OKS_HOST_PATH) + " --library " + OKS_LIBRARY_PATH + " " + arguments + " 2>&1";
  return popen(command.c_str(), "r");
}

HostRun finish(FILE* pipe) {
  HostRun run{-1, ""};
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
  int status = pclose(pipe);
  run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

HostRun okshost(const std::string& arguments, const std::string& prefix = "") {
  return finish(startOkshost(arguments, prefix));
}

// A location as one shell word.
std::string q(const std::string& location) { return "'" + location + "'"; }

std::string contents(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::string freshFile(const std::string& name) {
  return oks::test::absentStoreFile(testing::TempDir() + "oks_store_" + std::to_string(getpid()) + "_" +
                                    name);
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

// One value of a query on the server.
std::string serverValue(const std::string& uri, const std::string& sql) {
  std::unique_ptr<PGconn, void (*)(PGconn*)> connection(PQconnectdb(uri.c_str()), PQfinish);
  std::unique_ptr<PGresult, void (*)(PGresult*)> result(PQexec(connection.get(), sql.c_str()), PQclear);
  return PQresultStatus(result.get()) == PGRES_TUPLES_OK && PQntuples(result.get()) == 1
             ? PQgetvalue(result.get(), 0, 0)
             : "(" + std::string(PQerrorMessage(connection.get())) + ")";
}

class StoreSuite : public testing::TestWithParam<Engine> {
 protected:
  bool onServer() const { return GetParam() == Engine::PostgreSQL; }

  // Where a new store goes: a file that is not there, or an empty database on the tests' server.
  std::string freshLocation() { return stores_.location(freshFile(std::to_string(++files_) + ".db")); }

  std::string initFromExample() {
    std::string location = freshLocation();
    HostRun init = okshost("store init " + q(location) + " --from " + kStoreFile);
    EXPECT_EQ(init.exit, 0) << init.out;
    return location;
  }

  oks::test::FreshStores stores_{GetParam()};
  int files_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Engines, StoreSuite, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         oks::test::engineName<testing::TestParamInfo<Engine>>);

Object object(const std::string& uuid, const char* type, const std::string& name, const std::string& owner) {
  Object o;
  o.uuid = uuid;
  o.type = type;
  o.name = name;
  o.owner = owner;
  o.environment = "CONFIG";
  return o;
}

// Each operation of the database, straight: the same answers from both engines, in creation
// order, and a rolled-back transaction leaves nothing.
TEST_P(StoreSuite, EveryOperationAnswersFromTheDatabase) {
  auto db = Database::open(freshLocation(), Database::Mode::Create);
  Object root = object("01", "PRC", "Root", "");
  Object view = object("02", "CV", "View", "01");
  Object type = object("03", "PT", "Type", "01");
  Object spec = object("04", "PS", "Spec", "03");
  spec.spec.source = "0a";
  view.productType = "03";
  type.typedefSpecs = {"04"};
  type.authorisedSpecs = {"04"};
  Object handler = object("05", "CH", "H-1", "02");
  handler.handler.id = "H-1";
  handler.handler.first = "01";
  handler.handler.second = "02";
  Object other = object("06", "CH", "H-2", "01");
  other.handler.id = "H-2";
  other.handler.first = "02";
  other.handler.second = "01";
  Object parent = object("07", "MOD", "M-1", "01");
  Object child = object("08", "MOD", "M-2", "01");
  child.modification.parent = "07";

  db->begin();
  for (const Object& o : {root, view, type, spec, handler, other, parent, child})
    db->insert(o, db->encode(o));
  db->setSettings({"EU", true, false});
  db->commit();

  auto uuids = [](const std::vector<oks::reference::StoredObject>& found) {
    std::vector<std::string> out;
    for (const auto& f : found) out.push_back(f.uuid);
    return out;
  };
  using V = std::vector<std::string>;
  db->begin();
  EXPECT_EQ(db->settings(), (oks::reference::StoreSettings{"EU", true, false}));
  ASSERT_TRUE(db->byUuid("04"));
  EXPECT_EQ(db->decode(*db->byUuid("04")).spec.source, "0a");
  EXPECT_FALSE(db->byUuid("ff"));
  EXPECT_TRUE(db->exists("08"));
  EXPECT_FALSE(db->exists("ff"));
  EXPECT_EQ(uuids(db->byName("H-1", "", 0)), V{"05"});
  EXPECT_EQ(uuids(db->byName("H-1", "PS", 0)), V{});
  EXPECT_EQ(uuids(db->linkedTo(Link::Owner, "01", nullptr)), (V{"02", "03", "06", "07", "08"}));
  EXPECT_EQ(uuids(db->linkedTo(Link::Owner, "01", "MOD")), (V{"07", "08"}));
  EXPECT_EQ(uuids(db->linkedTo(Link::Owner, "", nullptr)), V{"01"});
  EXPECT_EQ(uuids(db->linkedTo(Link::ProductType, "03", nullptr)), V{"02"});
  EXPECT_EQ(uuids(db->linkedTo(Link::Source, "0a", nullptr)), V{"04"});
  EXPECT_EQ(uuids(db->linkedTo(Link::Parent, "07", nullptr)), V{"08"});
  EXPECT_EQ(uuids(db->linkedTo(Link::FirstContext, "01", nullptr)), V{"05"});
  EXPECT_EQ(uuids(db->linkedTo(Link::SecondContext, "01", nullptr)), V{"06"});
  EXPECT_EQ(uuids(db->linkedTo(Link::Context, "02", "CH")), (V{"05", "06"}));
  EXPECT_EQ(uuids(db->listing("04")), V{"03"});
  EXPECT_EQ(db->countOwnedBy("01"), 5);

  type.typedefSpecs.clear();
  type.authorisedSpecs.clear();
  type.name = "Renamed";
  db->update(type, db->encode(type));
  db->erase("08");
  db->commit();

  db->begin();
  EXPECT_EQ(uuids(db->listing("04")), V{});
  EXPECT_EQ(uuids(db->byName("Renamed", "PT", 1)), V{"03"});
  EXPECT_FALSE(db->exists("08"));
  db->erase("07");
  db->rollback();
  EXPECT_TRUE(db->exists("07"));
  EXPECT_EQ(db->integrityCheck(), "ok");
}

TEST_P(StoreSuite, ADatabaseKeepsWhatCommandsChange) {
  std::string db = q(initFromExample());
  EXPECT_EQ(okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject).exit, 0);
  HostRun children = okshost("exec OKS_getChildren --store " + db + " " + kChildrenOfBike);
  EXPECT_NE(children.out.find("\"CO-new\""), std::string::npos) << children.out;
  // The same name under the same owner is refused now: the first one was kept.
  EXPECT_EQ(okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject).exit, 1);

  HostRun script =
      okshost("script " + std::string(OKS_SOURCE_DIR) + "/examples/configure-product.json --store " + db);
  EXPECT_EQ(script.exit, 0) << script.out;
  // The script's steps were kept.
  EXPECT_EQ(okshost("store show " + db + " 'PS:City Touring'").exit, 0);
  EXPECT_EQ(okshost("store show " + db + " 'CV:Touring view'").exit, 0);
}

TEST_P(StoreSuite, InitThenExportGivesBackTheSameObjects) {
  std::string location = initFromExample();
  std::string db = q(location);
  HostRun again = okshost("store init " + db);
  EXPECT_EQ(again.exit, 2) << again.out;  // an existing store is refused without --force
  EXPECT_NE(again.out.find("--force"), std::string::npos) << again.out;
  std::string exported = freshFile("roundtrip.json");
  ASSERT_EQ(okshost("store export " + db + " --out " + exported).exit, 0);
  EXPECT_EQ(objectsOf(exported), objectsOf(kStoreFile));

  std::string replaced = q(initFromExample());
  ASSERT_EQ(okshost("exec OKS_addCO --store " + replaced + " " + kAddChangeObject).exit, 0);
  ASSERT_EQ(okshost("store init " + replaced + " --force --from " + exported).exit, 0);
  EXPECT_EQ(okshost("store export " + replaced).out, contents(exported));

  // A store file the loader refuses makes no store.
  std::string refused = q(freshLocation());
  std::string bad = freshFile("bad.json");
  std::ofstream(bad) << R"({"objects": [{"UUID": "01", "Type": "PRC", "owner": "01"}]})";
  HostRun init = okshost("store init " + refused + " --from " + bad);
  EXPECT_EQ(init.exit, 2);
  EXPECT_EQ(init.out, "okshost: " + bad + ": objects[0].owner: the object owns itself\n");
  EXPECT_EQ(okshost("store tree " + refused).exit, 2);
  EXPECT_EQ(okshost("store init " + refused).exit, 0);
}

TEST_P(StoreSuite, ReadingSubCommandsNameObjectsByUuidNameOrTypeAndName) {
  std::string db = q(initFromExample());
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

// Each bad store: one line naming it, exit code 2, and nothing written.
TEST_P(StoreSuite, BadStoresAreRefusedWithOneLine) {
  struct Bad {
    std::string location, message;
  };
  std::vector<Bad> bad;
  std::string other = initFromExample();
  Database::open(other, Database::Mode::Open)->execute("UPDATE store_schema SET version = 7");
  for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(other + suffix);
  bad.push_back({other, "a store database of schema version 7; this okshost reads version 1"});
  if (onServer()) {
    bad.push_back({freshLocation(), "not a store database (it has no store_schema table)"});
    const auto& server = stores_.firstDatabase();
    std::string wrong = server.uriAs("oks_password", "wrong-password");
    bad.push_back({wrong,
                   "the server refused the credentials (password authentication failed for user "
                   "\"oks_password\")"});
    bad.push_back(
        {oks::test::withDatabase(server.uri(), "oks_no_such_database"),
         "no such database on the server (database \"oks_no_such_database\" does not exist); okshost "
         "store init needs one made by createdb"});
    bad.push_back({"postgresql://postgres@127.0.0.1:1/postgres?connect_timeout=5",
                   "cannot reach the server (Connection refused)"});
  } else {
    std::string text = freshFile("text.db");
    std::ofstream(text) << std::string(4096, 'x');
    bad.push_back({text, "not a store database (file is not a database)"});
  }
  for (const Bad& b : bad) {
    std::string before = onServer() ? "" : contents(b.location);
    HostRun run = okshost("exec OKS_addCO --store " + q(b.location) + " " + kAddChangeObject);
    EXPECT_EQ(run.exit, 2) << run.out;
    // A password is never shown.
    std::string shown = b.location;
    if (auto password = shown.find(":wrong-password"); password != std::string::npos)
      shown.erase(password, 15);
    EXPECT_EQ(run.out, "okshost: " + shown + ": " + b.message + "\n");
    if (!onServer()) {
      EXPECT_EQ(contents(b.location), before);
      EXPECT_FALSE(std::filesystem::exists(b.location + "-wal"));
    }
  }
  if (onServer()) {
    EXPECT_EQ(serverValue(other, "SELECT count(*) FROM objects"), "27");
  }
}

// A command whose transaction the server gives up (a concurrent transaction changed a row it
// changes) runs again and commits; its answer and trace are the second run's, with a line
// telling the retry.
TEST(PostgreSQLStore, ACommandGivenUpForAConcurrentOneRunsAgain) {
  oks::test::PostgreSQLDatabase server;
  std::string db = q(server.uri());
  ASSERT_EQ(okshost("store init " + db + " --from " + kStoreFile).exit, 0);
  auto concurrent = Database::open(server.uri(), Database::Mode::Open);
  concurrent->begin();
  concurrent->execute("UPDATE objects SET data = data WHERE name = 'CO-S1'");
  FILE* deleting = startOkshost(
      "--trace exec OKS_deleteCO --store " + db +
      R"( --param 'Param0={"Node": {"Name": "Scooter", "Type": "PRC"}}' --param 'Param3={"streamable": {"string": "CO-S1"}}')");
  // The command waits for the row until the concurrent transaction commits.
  std::string waiting;
  for (int i = 0; i < 200 && waiting != "1"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    waiting =
        serverValue(server.uri(),
                    "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock' AND datname = "
                    "current_database()");
  }
  EXPECT_EQ(waiting, "1");
  concurrent->commit();
  HostRun run = finish(deleting);
  EXPECT_EQ(run.exit, 0) << run.out;
  EXPECT_NE(run.out.find("status 0 (0x00000000, S_OK)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("store: committed after 1 retry "), std::string::npos) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '+'), 2) << run.out;  // one run's trace
  EXPECT_EQ(okshost("store show " + db + " CO-S1").exit, 2);
}

// A store file is loaded into a temporary database and never written; --seed makes UUIDs
// repeatable, else they are random.
TEST(SQLiteStore, AStoreFileIsNeverWritten) {
  std::string before = contents(kStoreFile);
  EXPECT_EQ(okshost("exec OKS_addCO --store " + kStoreFile + " " + kAddChangeObject).exit, 0);
  EXPECT_EQ(okshost("exec OKS_addCO --store " + kStoreFile + " " + kAddChangeObject).exit, 0);
  EXPECT_EQ(contents(kStoreFile), before);

  auto uuidOf = [](const HostRun& run) { return run.out.substr(run.out.find("\"UUID\":"), 43); };
  std::string other =
      " --store " + kStoreFile +
      R"( --param 'Param0={"XNodeSeq": [{"Name": "X", "Nodes": [{"Name": "Bike", "Type": "PRC"}]}]}')";
  EXPECT_EQ(uuidOf(okshost("exec OKS_addCO --seed 7" + other)),
            uuidOf(okshost("exec OKS_addCO --seed 7" + other)));
  EXPECT_NE(uuidOf(okshost("exec OKS_addCO" + other)), uuidOf(okshost("exec OKS_addCO" + other)));
}

std::string initFile(const std::string& name) {
  std::string db = freshFile(name);
  HostRun init = okshost("store init " + db + " --from " + kStoreFile);
  EXPECT_EQ(init.exit, 0) << init.out;
  return db;
}

TEST(SQLiteStore, ATruncatedFileIsRefusedWithOneLine) {
  std::string truncated = initFile("truncated.db");
  std::filesystem::resize_file(truncated, 1024);
  for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(truncated + suffix);
  HostRun corrupt = okshost("store tree " + truncated);
  EXPECT_EQ(corrupt.exit, 2) << corrupt.out;
  EXPECT_EQ(std::count(corrupt.out.begin(), corrupt.out.end(), '\n'), 1) << corrupt.out;
}

// Run by a user who cannot write the file (root writes any file: it runs okshost as nobody).
TEST(SQLiteStore, AReadOnlyDatabaseReadsAndRefusesWrites) {
  std::string db = initFile("readonly.db");
  ::chmod(db.c_str(), 0444);
  std::string as = ::geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
  EXPECT_EQ(okshost("exec OKS_getChildren --store " + db + " " + kChildrenOfBike, as).exit, 0);
  HostRun write = okshost("exec OKS_addCO --store " + db + " " + kAddChangeObject, as);
  EXPECT_EQ(write.exit, 2) << write.out;
  EXPECT_NE(write.out.find("read-only"), std::string::npos) << write.out;
  ::chmod(db.c_str(), 0644);
  EXPECT_EQ(okshost("exec OKS_getChildren --store " + db + " " + kChildrenOfBike).out.find("CO-new"),
            std::string::npos);
}

TEST(SQLiteStore, ALockHeldPastTheBusyTimeoutFailsTheCommandWhichRunsAgainLater) {
  std::string db = initFile("locked.db");
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

TEST(SQLiteStore, AFullDatabaseRollsTheTransactionBackAndStaysIntact) {
  std::string db = initFile("full.db");
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
