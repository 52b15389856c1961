// The reference store on both engines: every operation of the database answers from it; through
// okshost, what commands change is kept, init and export give back the same objects, the reading
// sub-commands name objects as documented, and a bad store gives one line, exit code 2, and is left
// as it was. Then what only one engine has: on PostgreSQL, a command the server gives up for a
// concurrent one runs again; on SQLite, a store file is never written, and a read-only, locked or
// full database is refused cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "support/store_tests.h"
#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>

namespace oks::test {
namespace {

using host::Database;
using host::Json;
using reference::Link;
using reference::Object;

const std::string kAddChangeObject =
    R"(Param0={"XNodeSeq": [{"Name": "CO-new", "Nodes": [{"Name": "Bike", "Type": "PRC"}]}]})";
const std::string kChildrenOfBike = R"(Param0={"XNodeSeq": [{"Nodes": [{"Name": "Bike", "Type": "PRC"}]}]})";

HostRun addChangeObject(const std::string& store, const std::vector<std::string>& prefix = {}) {
  return okshost({"exec", "OKS_addCO", "--store", store, "--param", kAddChangeObject}, prefix);
}

HostRun childrenOfBike(const std::string& store, const std::vector<std::string>& prefix = {}) {
  return okshost({"exec", "OKS_getChildren", "--store", store, "--param", kChildrenOfBike}, prefix);
}

// The objects of a store file as the store would keep them, in order.
std::vector<std::string> objectsOf(const std::string& storeFile) {
  auto database = Database::open("", Database::Mode::Temporary);
  reference::Store store(*database);
  host::loadStoreFile(storeFile, store);
  std::vector<std::string> out;
  const Json file = Json::parse(contents(storeFile));
  for (const auto& o : file["objects"])
    out.push_back(host::storeObject(*store.find(o["UUID"].get<std::string>())).dump());
  return out;
}

using StoreSuite = StoreTest;
INSTANTIATE_TEST_SUITE_P(Engines, StoreSuite, kEngines, engineName);

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

  auto uuids = [](const std::vector<reference::StoredObject>& found) {
    std::vector<std::string> out;
    for (const auto& f : found) out.push_back(f.uuid);
    return out;
  };
  using V = std::vector<std::string>;
  db->begin();
  EXPECT_EQ(db->settings(), (reference::StoreSettings{"EU", true, false}));
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

// One okshost run of a scenario: its arguments, where "{db}" is a store holding
// examples/store.json, "{new}" a location with no store and "{bad}" a store file the loader
// refuses; its exit code, and what its output holds or is.
struct HostStep {
  HostStep(std::vector<std::string> args, int exit = 0, std::string holds = "", std::string is = "")
      : args(std::move(args)), exit(exit), holds(std::move(holds)), is(std::move(is)) {}
  std::vector<std::string> args;
  int exit;
  std::string holds, is;
};

const std::vector<HostStep> kScenario = {
    // What commands change is kept: the change object is found, and the same name under the same
    // owner is refused now; a script's steps are kept.
    {{"exec", "OKS_addCO", "--store", "{db}", "--param", kAddChangeObject}},
    {{"exec", "OKS_getChildren", "--store", "{db}", "--param", kChildrenOfBike}, 0, "\"CO-new\""},
    {{"exec", "OKS_addCO", "--store", "{db}", "--param", kAddChangeObject}, 1},
    {{"script", std::string(OKS_SOURCE_DIR) + "/examples/configure-product.json", "--store", "{db}"}},
    {{"store", "show", "{db}", "PS:City Touring"}},
    {{"store", "show", "{db}", "CV:Touring view"}},
    // The reading sub-commands name objects by UUID, name, or type and name.
    {{"store", "tree", "{db}", "Scooter", "--depth", "1"},
     0,
     "",
     "PRC \"Scooter\"  10000000000000000000000000000002\n"
     "  PT \"Kick\"  20000000000000000000000000000003\n"
     "  PT \"E-Scooter\"  20000000000000000000000000000004\n"
     "  CV \"Kick view\"  30000000000000000000000000000002\n"
     "  CO \"CO-S1\"  50000000000000000000000000000002\n"},
    {{"store", "show", "{db}", "PS:City EU 2026"}, 0, "\nversion: A\n"},
    {{"store", "show", "{db}", "PS:City EU 2026"}, 0, "\ndomain: EU\n"},
    {{"store", "effectivity", "{db}", "City EU 2026", "--domain", "EU"},
     0,
     "",
     "PS \"City EU 2026\" A [EU]: [2026-01-01 .. 2026-12-31] AND SPEC \"EU\" AND MILESTONE \"LOT-A\" .. "
     "\"LOT-A\"\n"},
    {{"store", "show", "{db}", "Nothing"}, 2, "", "okshost: Nothing: no object of that UUID or name\n"},
    // An existing store is replaced only with --force; a store file the loader refuses makes none.
    {{"store", "init", "{db}"}, 2, "--force"},
    {{"store", "init", "{new}", "--from", "{bad}"},
     2,
     "",
     "okshost: {bad}: objects[0].owner: the object owns itself\n"},
    {{"store", "tree", "{new}"}, 2},
    {{"store", "init", "{new}"}},
    {{"store", "init", "{db}", "--force", "--from", kStoreFile}},
};

// The scenario's runs in order; then the tree as JSON, and the store, replaced from examples/store.json after
// what the runs changed, exports the same objects.
TEST_P(StoreSuite, ScenarioRunsAsDocumentedAndExportGivesBackTheObjects) {
  std::map<std::string, std::string> places = {
      {"{db}", initFromExample()}, {"{new}", freshLocation()}, {"{bad}", scratchFile("bad.json")}};
  std::ofstream(places["{bad}"]) << R"({"objects": [{"UUID": "01", "Type": "PRC", "owner": "01"}]})";
  auto fill = [&places](std::string text) {
    for (const auto& [name, place] : places)
      for (auto at = text.find(name); at != std::string::npos; at = text.find(name))
        text.replace(at, name.size(), place);
    return text;
  };
  for (const HostStep& run : kScenario) {
    std::vector<std::string> args;
    for (const std::string& arg : run.args) args.push_back(fill(arg));
    HostRun done = okshost(args);
    std::string shown = testing::PrintToString(args) + " gave:\n" + done.out;
    EXPECT_EQ(done.exit, run.exit) << shown;
    EXPECT_NE(done.out.find(fill(run.holds)), std::string::npos) << shown;
    if (!run.is.empty()) {
      EXPECT_EQ(done.out, fill(run.is));
    }
  }
  Json tree = Json::parse(
      okshost({"store", "tree", places["{db}"], "10000000000000000000000000000002", "--json"}).out);
  EXPECT_EQ(tree[0]["children"][0]["Name"], "Kick");
  std::string exported = scratchFile("exported.json");
  ASSERT_EQ(okshost({"store", "export", places["{db}"], "--out", exported}).exit, 0);
  EXPECT_EQ(objectsOf(exported), objectsOf(kStoreFile));
}

// Each bad store: one line naming it (never its password), exit code 2, and nothing written.
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
    const PostgreSQLDatabase& server = *databases_.front();
    bad.push_back({server.uriAs("oks_password", "wrong-password"),
                   "the server refused the credentials (password authentication failed for user "
                   "\"oks_password\")"});
    bad.push_back(
        {withDatabase(server.uri(), "oks_no_such_database"),
         "no such database on the server (database \"oks_no_such_database\" does not exist); okshost "
         "store init needs one made by createdb"});
    bad.push_back({"postgresql://postgres@127.0.0.1:1/postgres?connect_timeout=5",
                   "cannot reach the server (Connection refused)"});
  } else {
    std::string text = scratchFile("text.db");
    std::ofstream(text) << std::string(4096, 'x');
    bad.push_back({text, "not a store database (file is not a database)"});
    std::string truncated = initFromExample();  // its pages cut off
    std::filesystem::resize_file(truncated, 1024);
    for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(truncated + suffix);
    bad.push_back({truncated, "the database is corrupt (database disk image is malformed)"});
  }
  for (const Bad& b : bad) {
    std::string before = onServer() ? "" : contents(b.location);
    HostRun run = addChangeObject(b.location);
    EXPECT_EQ(run.exit, 2) << run.out;
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
    EXPECT_EQ(postgresqlQuery(other, "SELECT count(*) FROM objects"), "27");
  }
}

// A command whose transaction the server gives up (a concurrent transaction changed a row it
// changes) runs again and commits; its answer and trace are the second run's, with a line
// telling the retry.
TEST(PostgreSQLStore, ACommandGivenUpForAConcurrentOneRunsAgain) {
  PostgreSQLDatabase server;
  ASSERT_EQ(okshost({"store", "init", server.uri(), "--from", kStoreFile}).exit, 0);
  auto concurrent = Database::open(server.uri(), Database::Mode::Open);
  concurrent->begin();
  concurrent->execute("UPDATE objects SET data = data WHERE name = 'CO-S1'");
  std::string output = scratchFile("retry.out");
  pid_t deleting = startOkshost({"--trace", "exec", "OKS_deleteCO", "--store", server.uri(), "--param",
                                 R"(Param0={"Node": {"Name": "Scooter", "Type": "PRC"}})", "--param",
                                 R"(Param3={"streamable": {"string": "CO-S1"}})"},
                                output);
  // The command waits for the row until the concurrent transaction commits.
  std::string waiting;
  for (int i = 0; i < 200 && waiting != "1"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    waiting = postgresqlQuery(server.uri(),
                              "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock' AND "
                              "datname = current_database()");
  }
  EXPECT_EQ(waiting, "1");
  concurrent->commit();
  EXPECT_EQ(waitFor(deleting), 0);
  std::string out = contents(output);
  EXPECT_NE(out.find("status 0 (0x00000000, S_OK)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("store: committed after 1 retry "), std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '+'), 2) << out;  // one run's trace
  EXPECT_EQ(okshost({"store", "show", server.uri(), "CO-S1"}).exit, 2);
}

// A store file is loaded into a temporary database and never written; --seed makes UUIDs
// repeatable, else they are random.
TEST(SQLiteStore, AStoreFileIsNeverWritten) {
  std::string before = contents(kStoreFile);
  EXPECT_EQ(addChangeObject(kStoreFile).exit, 0);
  EXPECT_EQ(addChangeObject(kStoreFile).exit, 0);
  EXPECT_EQ(contents(kStoreFile), before);

  auto uuidOf = [](std::vector<std::string> seed) {
    seed.insert(seed.begin(),
                {"exec", "OKS_addCO", "--store", kStoreFile, "--param",
                 R"(Param0={"XNodeSeq": [{"Name": "X", "Nodes": [{"Name": "Bike", "Type": "PRC"}]}]})"});
    std::string out = okshost(seed).out;
    return out.substr(out.find("\"UUID\":"), 43);
  };
  EXPECT_EQ(uuidOf({"--seed", "7"}), uuidOf({"--seed", "7"}));
  EXPECT_NE(uuidOf({}), uuidOf({}));
}

// A SQLite store file holding examples/store.json.
std::string initExampleFile() {
  std::string db = scratchFile("store.db");
  HostRun init = okshost({"store", "init", db, "--from", kStoreFile});
  EXPECT_EQ(init.exit, 0) << init.out;
  return db;
}

// Run by a user who cannot write the file (root writes any file: it runs okshost as nobody).
TEST(SQLiteStore, AReadOnlyDatabaseReadsAndRefusesWrites) {
  std::string db = initExampleFile();
  ::chmod(db.c_str(), 0444);
  std::vector<std::string> as;
  if (::geteuid() == 0) as = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  EXPECT_EQ(childrenOfBike(db, as).exit, 0);
  HostRun write = addChangeObject(db, as);
  EXPECT_EQ(write.exit, 2) << write.out;
  EXPECT_NE(write.out.find("read-only"), std::string::npos) << write.out;
  ::chmod(db.c_str(), 0644);
  EXPECT_EQ(childrenOfBike(db).out.find("CO-new"), std::string::npos);
}

TEST(SQLiteStore, ALockHeldPastTheBusyTimeoutFailsTheCommandWhichRunsAgainLater) {
  std::string db = initExampleFile();
  ::setenv("OKS_STORE_BUSY_TIMEOUT_MS", "200", 1);
  {
    auto writer = Database::open(db, Database::Mode::Open);
    writer->begin();
    HostRun locked = addChangeObject(db);
    EXPECT_EQ(locked.exit, 2);
    EXPECT_EQ(locked.out,
              "okshost: " + db +
                  ": the database is locked by another writer; run the command again (beginning a "
                  "transaction)\n");
    writer->rollback();
  }
  EXPECT_EQ(addChangeObject(db).exit, 0);
  ::unsetenv("OKS_STORE_BUSY_TIMEOUT_MS");
}

TEST(SQLiteStore, AFullDatabaseRollsTheTransactionBackAndStaysIntact) {
  auto database = Database::open(initExampleFile(), Database::Mode::Open);
  database->execute("PRAGMA max_page_count = 1");  // no page more than it has
  reference::Store store(*database, 1);
  store.begin();
  EXPECT_THROW(
      {
        for (int i = 0; i < 2000; ++i) store.create("CO", "CO-" + std::to_string(i), "", "CONFIG");
        store.commit();
      },
      host::StoreError);
  store.rollback();
  std::size_t objects = 0;
  database->forEach([&objects](const reference::StoredObject&) { ++objects; });
  EXPECT_EQ(objects, 27u);
  EXPECT_EQ(database->integrityCheck(), "ok");
}

}  // namespace
}  // namespace oks::test
