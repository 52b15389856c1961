// okshost against the reference service: okshost exec, and bad input (store files, parameters,
// references, late types), each refused with one line naming the place.
//
// The store-file loader reads a file one object at a time and checks what refers to what once
// every object is in: an object may name one that comes after it, and the fault reported is the
// first in the order of the file, whichever object showed it first. Each fault names the object
// and the member; what would make a walk over the store go round, or a version count past the
// largest int, is refused. (An object owning itself is the store suite's: store init refuses it.)
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <oks/host/reference/database.h>
#include <oks/host/reference/script.h>
#include <oks/host/reference/store_file.h>

namespace {

const std::string kExamples = std::string(OKS_SOURCE_DIR) + "/examples/";

oks::host::ReferenceOptions options(const std::string& store = "") {
  return {OKS_LIBRARY_PATH, store, nullptr, std::nullopt};
}

std::string writeFile(const std::string& name, const std::string& text) {
  std::string path = testing::TempDir() + name;
  std::ofstream(path) << text;
  return path;
}

struct Outcome {
  int exit;
  std::string out;
  std::string err;
};

Outcome script(const std::string& file) {
  std::ostringstream out, err;
  int exit = oks::host::runScript(options(), file, false, out, err);
  return {exit, out.str(), err.str()};
}

Outcome exec(const std::string& lateType, const std::vector<std::string>& params,
             const std::string& store = "") {
  std::ostringstream out, err;
  int exit = oks::host::execCommand(options(store), lateType, params, false, out, err);
  return {exit, out.str(), err.str()};
}

TEST(ReferenceHost, ExecRunsOneCommandAgainstTheStore) {
  Outcome run = exec("OKS_getCVFromPRC", {R"(Param0={"XNodeSeq": [{"Nodes": [{"Name": "Scooter"}]}]})"},
                     kExamples + "store.json");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "status 0 (0x00000000, S_OK)");
  EXPECT_NE(run.out.find("result0 (XNodeSeq): [{\"Name\":\"Kick view\""), std::string::npos) << run.out;

  // Against an empty store the object is missing: the command fails.
  Outcome missing = exec("OKS_deletePS", {R"(Param0={"Node": {"Name": "Kick Base"}})"});
  EXPECT_EQ(missing.exit, 1);
  EXPECT_EQ(missing.out, "status -2147467259 (0x80004005, E_FAIL)\n");

  // A script ends with its summary. (The echoed trace is the store suite's: okshost --trace exec.)
  Outcome example = script(kExamples + "configure-product.json");
  EXPECT_EQ(example.out.substr(example.out.rfind('\n', example.out.size() - 2) + 1),
            "19 of 19 steps run: 19 ok\n");
}

TEST(ReferenceHost, BadInputIsRefusedWithOneLineNamingThePlace) {
  auto refused = [](const Outcome& run, const std::string& message) {
    EXPECT_EQ(run.exit, 2);
    EXPECT_EQ(run.err.substr(0, message.size()), message) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  };
  refused(exec("OKS_noSuchCommand", {}), "okshost: unknown late type OKS_noSuchCommand");
  refused(exec("OKS_deletePS", {"Param0={\"Node\": "}), "okshost: --param Param0: not JSON");
  refused(exec("OKS_deletePS", {"Param0"}), "okshost: --param Param0: expected KEY=JSON");
  refused(exec("OKS_deletePS", {R"(Param0={"Node": {"Nmae": "x"}})"}), "okshost: --param Param0.Node");

  std::string dangling =
      writeFile("dangling.json", R"({"objects": [{"UUID": "02", "Type": "CV", "owner": "01"}]})");
  refused(exec("OKS_deletePS", {}, dangling), "okshost: " + dangling + ": objects[0].owner: no object 01");

  std::string step0 = R"({"name": "first", "command": "OKS_getCVFromPRC",
                          "params": {"Param0": {"XNodeSeq": [{"Nodes": [{"Name": "Bike"}]}]}}})";
  std::string noResult =
      writeFile("noresult.json", R"({"store": ")" + kExamples + R"(store.json", "steps": [)" + step0 +
                                     R"(, {"name": "second", "command": "OKS_getConfigTree",
      "params": {"Param0": {"from": "first.result7"}}}]})");
  refused(script(noResult),
          "okshost: " + noResult + ": steps[1].params.Param0: step \"first\" set no result result7");
  std::string later = writeFile("later.json", R"({"steps": [{"name": "a", "command": "OKS_getConfigTree",
      "params": {"Param0": {"from": "b.result0[0]", "as": "Node"}}}, {"name": "b", "command": "OKS_getCVFromPRC"}]})");
  refused(script(later),
          "okshost: " + later + ": steps[0].params.Param0.from: no earlier step is named \"b\"");
  std::string params =
      writeFile("params.json", R"({"steps": [{"name": "a", "command": "OKS_nothing", "params": 3}]})");
  refused(script(params), "okshost: " + params + ": steps[0].params: expected an object of keys");
  std::string unknown = writeFile("unknown.json", R"({"steps": [{"name": "a", "command": "OKS_nothing"}]})");
  refused(script(unknown), "okshost: " + unknown + ": steps[0].command: unknown late type OKS_nothing");
}

struct Loaded {
  std::string error;
  oks::reference::StoreSettings settings;
};

Loaded load(const std::string& text) {
  std::string file = writeFile("store-loader.json", text);
  auto database = oks::host::Database::open("", oks::host::Database::Mode::Temporary);
  oks::reference::Store store(*database);
  Loaded loaded;
  try {
    oks::host::loadStoreFile(file, store);
  } catch (const std::exception& e) {
    loaded.error = std::string(e.what()).substr(file.size() + 2);
  }
  loaded.settings = store.settings;
  return loaded;
}

TEST(StoreLoader, ObjectsMayNameLaterOnesAndTheFirstFaultInTheFileIsReported) {
  const std::string prc = R"({"UUID": "01", "Type": "PRC"}, )";
  const std::string ch = prc + R"({"UUID": "04", "Type": "CH", "id": "X", "first": "01", )";
  const std::pair<std::string, std::string> table[] = {
      {R"({"UUID": "02", "Type": "CV", "owner": "01", "productType": "03"}, {"UUID": "01", "Type": "PRC"},
          {"UUID": "03", "Type": "PT", "owner": "01"}, {"UUID": "05", "Type": "MOD", "parent": "06"},
          {"UUID": "06", "Type": "MOD"}, {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "02"})",
       ""},
      // A reference resolved only at the end comes before a later object's fault found at once...
      {prc + R"({"UUID": "02", "Type": "CV", "owner": "01", "productType": "09"},
          {"UUID": "03", "Type": "CV", "owner": "01", "productType": "01"})",
       "objects[1].productType: no object 09"},
      // ... and, within one object, before a later member's.
      {prc + R"({"UUID": "02", "Type": "CV", "owner": "09", "productType": "01"})",
       "objects[1].owner: no object 09"},
      {prc + R"({"UUID": "01", "Type": "CV"})", "objects[1].UUID: UUID 01 is given twice"},
      {R"({"UUID": "02", "Type": "CV", "productType": "01"}, {"UUID": "01", "Type": "PRC"})",
       "objects[0].productType: 01 is a PRC, not a PT"},
      {R"({"UUID": "03", "Type": "PRC", "owner": "02"}, {"UUID": "01", "Type": "PRC", "owner": "03"},
          {"UUID": "02", "Type": "PRC", "owner": "01"})",
       "objects[0].owner: ownership cycle 03 -> 02 -> 01 -> 03"},
      {prc + R"({"UUID": "02", "Type": "CV", "owner": "03"}, {"UUID": "03", "Type": "CV", "owner": "02"})",
       "objects[1].owner: ownership cycle 02 -> 03 -> 02"},
      // Objects read earlier are no longer held, yet a fault inside a later one names its index.
      {prc + R"({"UUID": "02", "Type": "PRC", "Name": "a", "Name": "b"})",
       "objects[1].Name: a member given twice"},
      {R"({"UUID": "01", "Type": "XX"})",
       R"(objects[0].Type: expected PRC, CV, PT, PS, CH, CO or MOD, not "XX")"},
      {R"({"UUID": "01", "Type": "PRC", "version": "A"})",
       "objects[0].version: unknown member (expected one of UUID, Type, Name, Environment, owner, "
       "attributes, milestones, currentFilter)"},
      {R"({"UUID": "03", "Type": "MOD", "action": "maybe"})",
       R"(objects[0].action: expected "none", "open" or "closed")"},
      {ch + R"("second": "04"})", "objects[1].second: a handler cannot be its own context node"},
      {prc + R"({"UUID": "04", "Type": "CH", "id": "X", "first": "04", "second": "01"})",
       "objects[1].first: a handler cannot be its own context node"},
      {ch + R"("version": 1})", "objects[1].second: a handler needs its two context nodes"},
      {prc + R"({"UUID": "05", "Type": "PS", "owner": "01", "members": ["05"]})",
       "objects[1].members: a specification cannot be its own member"},
      {prc + R"({"UUID": "05", "Type": "PS", "owner": "01", "source": "05"})",
       "objects[1].source: a specification cannot be its own source"},
      {R"({"UUID": "06", "Type": "MOD", "parent": "06"})",
       "objects[0].parent: the modification is its own parent"},
      {R"({"UUID": "06", "Type": "MOD", "parent": "07"}, {"UUID": "07", "Type": "MOD", "parent": "06"})",
       "objects[0].parent: cycle of parent modifications 06 -> 07 -> 06"},
      {ch + R"("second": "01", "version": 0})",
       "objects[1].version: expected a version from 1 to 2147483647"},
      {ch + R"("second": "01", "version": -3})",
       "objects[1].version: expected a version from 1 to 2147483647"},
      {ch + R"("second": "01", "version": 2147483648})",
       "objects[1].version: expected an integer from -2147483648 to 2147483647"},
  };
  for (const auto& [objects, message] : table)
    EXPECT_EQ(load(R"({"objects": [)" + objects + "]}").error, message) << objects;

  // The settings may follow the objects.
  Loaded after =
      load(R"({"objects": [{"UUID": "01", "Type": "PRC"}], "dataDomain": "EU", "filter150": true})");
  EXPECT_EQ(after.error, "");
  EXPECT_EQ(after.settings.dataDomain, "EU");
  EXPECT_TRUE(after.settings.filter150);
}

}  // namespace
