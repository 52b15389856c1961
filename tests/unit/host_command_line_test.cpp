// okshost as a user runs it: every command-line error gives one line and exit code 2,
// --version, the versioned --json shapes, help that lists the global options and an example,
// and text results printed as text.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <oks/host/codec.h>
#include <oks/host/reference/exec.h>

namespace oks::host {
namespace {

struct Ran {
  int code = -1;
  std::string out, err;
};

// Each test runs in a process of its own, and several at once: the files carry the process id.
std::string scratch(const std::string& name) {
  return ::testing::TempDir() + "okshost-cli-" + std::to_string(::getpid()) + "-" + name;
}

Ran okshost(const std::string& arguments) {
  const std::string errFile = scratch("stderr");
  std::string command = std::string(OKS_HOST_PATH) + " " + arguments + " 2>" + errFile;
  Ran ran;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return ran;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) ran.out += buffer;
  int status = pclose(pipe);
  ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile);
  ran.err.assign(std::istreambuf_iterator<char>(err), {});
  return ran;
}

TEST(OkshostCommandLine, EveryCommandLineErrorIsOneLineAndExitCodeTwo) {
  for (const char* arguments :
       {"--no-such-option list", "nosuch", "", "list --bogus", "exec", "exec OKS_getCHList --param", "script",
        "run", "exec OKS_noSuchCommand", "exec OKS_getCHList --param Param0", "describe",
        "describe OKS_noSuchCommand"}) {
    SCOPED_TRACE(arguments);
    Ran ran = okshost(arguments);
    EXPECT_EQ(ran.code, 2);
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
    EXPECT_EQ(ran.err.rfind("okshost: ", 0), 0u) << ran.err;
  }
  EXPECT_EQ(
      okshost("nosuch").err,
      "okshost: unknown sub-command 'nosuch' (expected list, run, case, exec, script, describe or store)\n");
}

TEST(OkshostCommandLine, VersionAndHelp) {
  Ran version = okshost("--version");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("okshost ", 0), 0u) << version.out;
  for (const char* sub : {"list", "run", "case", "exec", "script", "describe"}) {
    SCOPED_TRACE(sub);
    Ran help = okshost(std::string(sub) + " --help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--library PATH"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Example:\n  okshost " + std::string(sub)), std::string::npos) << help.out;
  }
}

TEST(OkshostCommandLine, JsonShapesCarryTheirFormatStatusAndSummary) {
  Json list = Json::parse(okshost("list --json").out);
  EXPECT_EQ(list["format"], 1);
  EXPECT_EQ(list["summary"]["lateTypes"], list["lateTypes"].size());
  EXPECT_EQ(list["lateTypes"][0],
            Json::parse(R"({"lateType": "OKS_addApplicability", "class": "addApplicability"})"));

  Ran failing = okshost("exec OKS_getCHList --json --param 'Param0={\"XNodeSeq\": []}'");
  Json exec = Json::parse(failing.out);
  EXPECT_EQ(exec["format"], 1);
  EXPECT_EQ(exec["command"], "OKS_getCHList");
  EXPECT_EQ(exec["summary"]["statusName"], statusName(exec["status"].get<HRESULT>()));
  EXPECT_EQ(exec["summary"]["outcome"], failing.code == 0 ? "ok" : "failed");

  Json cases = Json::parse(okshost("case --json " + std::string(OKS_SOURCE_DIR) + "/examples/cases").out);
  EXPECT_EQ(cases["format"], 1);
  EXPECT_EQ(cases["summary"]["outcome"], "ok");
  EXPECT_EQ(cases["summary"]["passed"], cases["cases"].size());
  // run prints each case of a group under its name.
  Json grouped =
      Json::parse(okshost("run " + std::string(OKS_SOURCE_DIR) + "/examples/cases/getCHList.json").out);
  EXPECT_TRUE(grouped[0].contains("name") && grouped[0].contains("status")) << grouped.dump();

  // A script that stops at its second step: the step it stopped at and the one not run.
  const std::string file = scratch("stops.json");
  std::ofstream(file) << R"({"steps": [
    {"name": "first", "command": "OKS_getCHList", "params": {"Param0": {"XNodeSeq": []}}, "mayFail": true},
    {"name": "second", "command": "OKS_getCHList", "expect": {"status": 12345}},
    {"name": "third", "command": "OKS_getCHList"}]})";
  Ran stopped = okshost("script --json " + file);
  EXPECT_EQ(stopped.code, 1);
  Json script = Json::parse(stopped.out);
  EXPECT_EQ(script["format"], 1);
  EXPECT_EQ(script["summary"]["outcome"], "stopped");
  EXPECT_EQ(script["summary"]["stoppedAt"], "second");
  EXPECT_EQ(script["summary"]["notRun"], Json::array({"third"}));
  EXPECT_EQ(script["steps"].size(), 2u);
}

TEST(OkshostCommandLine, TextResultsPrintAsTextWithFurtherLinesIndented) {
  Json text = {
      {"streamable", {{"streamer", "StringStreamerLT"}, {"string", "PS \"City Touring\"\nPT [..]"}}}};
  EXPECT_EQ(resultLine("result0", text), "result0 (string): PS \"City Touring\"\n    PT [..]");
  EXPECT_EQ(resultLine("result", {{"int", 1}}), "result (int): 1");
}

}  // namespace
}  // namespace oks::host
