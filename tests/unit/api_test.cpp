// The command API as a client uses it: the library found where it is built, a command made by
// late type, given records, executed against a server, read and released; errors as
// CommandError, never a crash.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include <oks/api/command.h>
#include <oks/service/server.h>

namespace oks {
namespace {

using QEM_ProductTypes::XNodeSeq;

// Answers the two operations the tests call.
class TinyServer : public Server {
 public:
  HRESULT getCHList(const XNodeSeq& in, XNodeSeq*& out) override {
    out = new XNodeSeq(in);
    return S_OK;
  }
  HRESULT displayPtSpecEffectivity(const XNodeSeq&, ZORUnicodeString& text) override {
    text = "PS \"City Touring\"\nPT [2024-01-01 ..]";
    return S_OK;
  }
};

XNodeSeq handlerNodes() {
  XNodeSeq seq(1);
  seq[0].Name = "P1";
  seq[0].Type = "PRC";
  return seq;
}

class CommandApi : public ::testing::Test {
 protected:
  CommandLibrary library_{OKS_LIBRARY_PATH};
  TinyServer server_;
  ScopedServer installed_{&server_};
};

TEST_F(CommandApi, RunsCommandsByLateTypeAndReadsTheirResultsAndTrace) {
  Command command("OKS_getCHList");
  command.set("Param0", handlerNodes());
  TraceCapture outer;
  ScopedTraceSink sink(&outer);
  EXPECT_EQ(command.execute(), S_OK);
  auto handlers = command.result<XNodeSeq>("result0");
  ASSERT_TRUE(handlers);
  EXPECT_EQ((*handlers)[0].Name, "P1");
  EXPECT_EQ(command.resultKeys(), std::vector<std::string>{"result0"});
  EXPECT_FALSE(command.result<int>("result0"));  // another kind
  EXPECT_FALSE(command.result<XNodeSeq>("result1"));
  ASSERT_FALSE(command.trace().empty());
  EXPECT_EQ(command.trace().front().text, "+getCHList::AppExecute");
  EXPECT_TRUE(outer.take().empty());  // the command's lines went to the command only

  Command streaming("OKS_displayPtSpecApplicability");
  streaming.set("Param0", handlerNodes());
  EXPECT_EQ(streaming.execute(), S_OK);
  EXPECT_EQ(streaming.text("result0"), "PS \"City Touring\"\nPT [2024-01-01 ..]");
  EXPECT_FALSE(streaming.text("Param0"));
}

TEST_F(CommandApi, MovedCommandsAreReleasedOnce) {
  std::vector<Command> commands;
  for (int i = 0; i < 5; ++i) commands.emplace_back("OKS_getCHList");
  Command last = std::move(commands.back());
  commands.pop_back();
  last = std::move(commands.front());
  last.set("Param0", handlerNodes());
  EXPECT_EQ(last.execute(), S_OK);
}

TEST_F(CommandApi, AnUnknownLateTypeIsAnError) {
  try {
    Command command("OKS_noSuchCommand");
    FAIL() << "made a command of an unknown late type";
  } catch (const CommandError& e) {
    EXPECT_EQ(e.status(), E_NOINTERFACE);
    EXPECT_NE(std::string(e.what()).find("OKS_noSuchCommand"), std::string::npos);
  }
  EXPECT_FALSE(CommandLibrary::registered("OKS_noSuchCommand"));
  EXPECT_TRUE(CommandLibrary::registered("OKS_getCHList"));
}

TEST(CommandLibraryPath, EnvironmentFirstThenBesideTheApi) {
  namespace fs = std::filesystem;
  ::setenv("OKS_COMMAND_LIBRARY", "/elsewhere/libcommands.so", 1);
  EXPECT_EQ(CommandLibrary::defaultPath(), "/elsewhere/libcommands.so");
  ::unsetenv("OKS_COMMAND_LIBRARY");
  EXPECT_TRUE(fs::equivalent(CommandLibrary::defaultPath(), OKS_LIBRARY_PATH));
  try {
    CommandLibrary missing("/elsewhere/libcommands.so");
    FAIL() << "loaded a library that is not there";
  } catch (const CommandError& e) {
    EXPECT_NE(std::string(e.what()).find("/elsewhere/libcommands.so"), std::string::npos);
  }
}

}  // namespace
}  // namespace oks
