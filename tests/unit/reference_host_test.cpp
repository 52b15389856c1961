// okshost against the reference service: okshost exec, and bad input (store files, parameters,
// references, late types), each refused with one line naming the place. The store files' faults
// themselves are store_loader_test.cpp's.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <oks/host/reference/script.h>

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

  // The command's trace is echoed when asked for; a script ends with its summary.
  std::ostringstream trace, out, err;
  auto traced = options();
  traced.traceEcho = &trace;
  EXPECT_EQ(
      oks::host::execCommand(traced, "OKS_deletePS", {R"(Param0={"Node": {"Name": "x"}})"}, false, out, err),
      1);
  EXPECT_NE(trace.str(), "");
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
  std::string params =
      writeFile("params.json", R"({"steps": [{"name": "a", "command": "OKS_nothing", "params": 3}]})");
  refused(script(params), "okshost: " + params + ": steps[0].params: expected an object of keys");
  std::string unknown = writeFile("unknown.json", R"({"steps": [{"name": "a", "command": "OKS_nothing"}]})");
  refused(script(unknown), "okshost: " + unknown + ": steps[0].command: unknown late type OKS_nothing");
}

}  // namespace
