// Every case runs on a load of the command library that is unloaded after it, or on its file's
// shared load; the trace echo; checking prints a tally and tells by its exit status what happened.
// Parameters and results in the case notation are checked by the cases themselves, which use every kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <oks/host/cases/case_check.h>
#include <oks/host/cases/case_runner.h>
#include <oks/platform/object_model.h>

namespace oks::host {
namespace {

TEST(HostRunner, ACaseLoadsTheLibraryAfreshOrSharesItsFilesLoad) {
  Case c;
  c.command = "OKS_getCvUuid";
  RunOptions options{OKS_LIBRARY_PATH};
  Json first = runCase(c, options);
  EXPECT_TRUE(registeredClasses().empty());
  EXPECT_EQ(first["created"], true);
  EXPECT_EQ(first["status"], E_FAIL);
  c.faults.alloc[AllocKind::AdapterMeta] = {1};
  EXPECT_EQ(runCase(c, options)["created"], false);  // a fresh adapter meta object is asked for
  EXPECT_TRUE(registeredClasses().empty());

  // The cases of a file share a load unless one asks for a fresh one.
  c.faults.alloc.clear();
  FileRun run({OKS_LIBRARY_PATH});
  first = run.run(c);
  EXPECT_EQ(first["trace"], Json::array());  // the bracket taken off
  EXPECT_FALSE(first.contains("bracket"));
  c.faults.alloc[AllocKind::AdapterMeta] = {1};
  EXPECT_EQ(run.run(c)["created"], true);  // the shared load made its adapter meta object already
  c.freshLoad = true;
  EXPECT_EQ(run.run(c)["created"], false);
  c.freshLoad = false;
  EXPECT_EQ(run.run(c)["created"], false);  // the shared load begins again after a fresh one
  run.finish();
  EXPECT_TRUE(registeredClasses().empty());
}

TEST(HostRunner, TraceEchoIsIndentedByStepDepth) {
  Case c;
  c.command = "OKS_getCHList";
  std::ostringstream echo;
  RunOptions options{OKS_LIBRARY_PATH, &echo};
  runCase(c, options);
  EXPECT_EQ(echo.str(),
            "+getCHList::constructor\n-getCHList::constructor\n+getCHList::AppExecute\n"
            "  Unable to retrieve Param0\n-getCHList::AppExecute\n");
}

TEST(HostRunner, CheckingEndsWithTheTallyAndTheExitStatusTellsWhatHappened) {
  std::string dir = ::testing::TempDir() + "/host_runner_cases";
  std::filesystem::create_directories(dir + "/sub");
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir + "/" + name) << text;
  };
  write("sub/pass.json", R"({"name": "p", "command": "OKS_getCvUuid", "expect": {"status": -2147467259}})");
  write("fail.json", R"({"name": "f", "command": "OKS_getCvUuid", "expect": {"status": 0}})");
  RunOptions options{OKS_LIBRARY_PATH};
  std::ostringstream out;
  EXPECT_EQ(checkCases({dir}, options, out), exitFailed);
  EXPECT_NE(out.str().find("FAIL " + dir +
                           "/fail.json [f]\n    status: differs\n      expected: 0\n"
                           "      observed: -2147467259\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("PASS " + dir + "/sub/pass.json [p]\n"), std::string::npos);
  EXPECT_TRUE(out.str().ends_with("1 passed, 1 failed\n"));

  write("fail.json", "{");
  std::ostringstream again;
  EXPECT_EQ(checkCases({dir, dir + "/nothing.json"}, options, again), exitUnreadable);
  EXPECT_NE(again.str().find("ERROR " + dir + "/fail.json: "), std::string::npos) << again.str();
  EXPECT_TRUE(again.str().ends_with("1 passed, 2 failed\n")) << again.str();

  std::filesystem::remove(dir + "/fail.json");
  std::ostringstream passing;
  EXPECT_EQ(checkCases({dir}, options, passing), exitPassed);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace oks::host
