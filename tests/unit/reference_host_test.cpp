// okshost against the reference service: okshost exec, and bad input (store files, parameters,
// references, late types), each refused with one line naming the place.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <oks/host/reference/script.h>
#include <oks/host/reference/store_file.h>

namespace {

using oks::host::Json;

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

  std::string twice = writeFile("twice.json", R"({"objects": [{"UUID": "01", "Type": "PRC"},
                                                               {"UUID": "01", "Type": "CV"}]})");
  refused(exec("OKS_deletePS", {}, twice), "okshost: " + twice + ": objects[1].UUID: UUID 01 is given twice");
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
  std::string unknown = writeFile("unknown.json", R"({"steps": [{"name": "a", "command": "OKS_nothing"}]})");
  refused(script(unknown), "okshost: " + unknown + ": steps[0].command: unknown late type OKS_nothing");
}

TEST(ReferenceHost, StoreFilesCheckMembersByType) {
  auto database = oks::host::Database::open("", oks::host::Database::Mode::Temporary);
  oks::reference::Store store(*database);
  auto loadError = [&store](const char* text) -> std::string {
    try {
      oks::host::loadStore(Json::parse(text), store);
    } catch (const oks::host::CaseError& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_EQ(loadError(R"({"objects": [{"UUID": "01", "Type": "XX"}]})"),
            "objects[0].Type: expected PRC, CV, PT, PS, CH, CO or MOD, not \"XX\"");
  EXPECT_NE(loadError(R"({"objects": [{"UUID": "01", "Type": "PRC", "version": "A"}]})").find("objects[0]"),
            std::string::npos);
  EXPECT_EQ(loadError(R"({"objects": [{"UUID": "03", "Type": "MOD", "action": "maybe"}]})"),
            "objects[0].action: expected \"none\", \"open\" or \"closed\"");
  EXPECT_EQ(loadError(R"({"objects": [{"UUID": "01", "Type": "PRC"},
      {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "01"}]})"),
            "");
  EXPECT_EQ(store.find(std::string("04"))->name, "X");
}

// What would make a walk over the store go round, or a version count past the largest int, is
// refused at load, naming the object and the member.
TEST(ReferenceHost, StoreFilesRefuseCyclesAndSelfReferences) {
  const std::string prc = R"({"UUID": "01", "Type": "PRC"})";
  const std::pair<std::string, std::string> table[] = {
      {R"({"UUID": "01", "Type": "PRC", "owner": "02"}, {"UUID": "02", "Type": "PRC", "owner": "01"})",
       "objects[0].owner: ownership cycle 01 -> 02 -> 01"},
      {R"({"UUID": "01", "Type": "PRC"}, {"UUID": "02", "Type": "CV", "owner": "03"},
          {"UUID": "03", "Type": "CV", "owner": "04"}, {"UUID": "04", "Type": "CV", "owner": "02"})",
       "objects[1].owner: ownership cycle 02 -> 03 -> 04 -> 02"},
      {R"({"UUID": "01", "Type": "PRC", "owner": "01"})", "objects[0].owner: the object owns itself"},
      {prc + R"(, {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "04"})",
       "objects[1].second: a handler cannot be its own context node"},
      {prc + R"(, {"UUID": "04", "Type": "CH", "id": "X", "first": "04", "second": "01"})",
       "objects[1].first: a handler cannot be its own context node"},
      {prc + R"(, {"UUID": "05", "Type": "PS", "owner": "01", "members": ["05"]})",
       "objects[1].members: a specification cannot be its own member"},
      {prc + R"(, {"UUID": "05", "Type": "PS", "owner": "01", "source": "05"})",
       "objects[1].source: a specification cannot be its own source"},
      {R"({"UUID": "06", "Type": "MOD", "parent": "06"})",
       "objects[0].parent: the modification is its own parent"},
      {R"({"UUID": "06", "Type": "MOD", "parent": "07"}, {"UUID": "07", "Type": "MOD", "parent": "06"})",
       "objects[0].parent: cycle of parent modifications 06 -> 07 -> 06"},
      {prc + R"(, {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "01", "version": 0})",
       "objects[1].version: expected a version from 1 to 2147483647"},
      {prc + R"(, {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "01", "version": -3})",
       "objects[1].version: expected a version from 1 to 2147483647"},
      {prc +
           R"(, {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "01", "version": 2147483648})",
       "objects[1].version: expected an integer from -2147483648 to 2147483647"},
  };
  for (const auto& [objects, message] : table) {
    auto database = oks::host::Database::open("", oks::host::Database::Mode::Temporary);
    oks::reference::Store store(*database);
    std::string error;
    try {
      oks::host::loadStore(Json::parse(R"({"objects": [)" + objects + "]}"), store);
    } catch (const oks::host::CaseError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, message) << objects;
  }

  // The refusal reaches the command line as one line naming the file, and the command is not run.
  std::string cycle = writeFile("cycle.json", R"({"objects": [)" + table[0].first + "]}");
  Outcome run = exec("OKS_getConfigTree", {R"(Param0={"Node": {"UUID": "01"}})"}, cycle);
  EXPECT_EQ(run.exit, 2);
  EXPECT_EQ(run.err, "okshost: " + cycle + ": " + table[0].second + "\n");
}

}  // namespace
