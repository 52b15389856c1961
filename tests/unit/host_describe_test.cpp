// The command reference covers exactly the commands the library registers, under their classes.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

#include <oks/api/library.h>
#include <oks/host/describe.h>

namespace oks::host {
namespace {

TEST(CommandReference, EveryRegisteredCommandHasItsEntry) {
  std::set<std::string> server;  // the server's own late types (streamers), registered without the library
  for (const auto& type : CommandLibrary::commands()) server.insert(type.lateType);
  CommandLibrary library(OKS_LIBRARY_PATH);
  std::map<std::string, std::string> registered;
  for (const auto& type : CommandLibrary::commands())
    if (!server.count(type.lateType)) registered[type.lateType] = type.className;
  ASSERT_EQ(registered.size(), 64u);

  std::map<std::string, std::string> described;
  for (const auto& entry : commandReference()["commands"]) {
    SCOPED_TRACE(entry["lateType"].get<std::string>());
    described[entry["lateType"]] = entry["class"];
    EXPECT_FALSE(entry["summary"].get<std::string>().empty());
    EXPECT_FALSE(entry["negative"].get<std::string>().empty());
    for (const auto& param : entry["parameters"])
      EXPECT_NE(param.contains("default"), param.contains("required")) << param.dump();
    if (entry["lateType"] == "OKS_getCHList") {
      std::ostringstream printed;
      printDescription(printed, entry);
      EXPECT_NE(
          printed.str().find("\nParameters:\n  Param0  XNodeSeq  required\nResults:\n  result0  XNodeSeq"),
          std::string::npos)
          << printed.str();
    }
  }
  EXPECT_EQ(described, registered);
}

}  // namespace
}  // namespace oks::host
