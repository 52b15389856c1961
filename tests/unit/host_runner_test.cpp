// Parameters reach the command as the case gives them, results come back in the case
// notation, and every case runs on a freshly loaded library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <oks/api/library.h>
#include <oks/host/cases/case_check.h>
#include <oks/host/cases/case_runner.h>
#include <oks/platform/object_model.h>

namespace oks::host {
namespace {

class HostValues : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = std::make_unique<CommandLibrary>(OKS_LIBRARY_PATH);
    ZORBaseUnknown* object = new ZORObject("OKS_addApplicability", nullptr);
    object->QueryInterface(IID_MIROIBaseCommand, reinterpret_cast<void**>(&adapter_));
    object->Release();
    ASSERT_NE(adapter_, nullptr);
    command_ = dynamic_cast<MIROAppBaseCommand*>(adapter_->GetImpl(1));
    ASSERT_NE(command_, nullptr);
  }
  void TearDown() override {
    if (adapter_) adapter_->Release();
    library_.reset();
  }
  void set(const std::string& key, const char* json) {
    setParam(*adapter_, *command_, {key, decodeParam(Json::parse(json), "p")});
  }

  std::unique_ptr<CommandLibrary> library_;
  MIROIBaseCommand* adapter_ = nullptr;
  MIROAppBaseCommand* command_ = nullptr;
};

TEST_F(HostValues, RecordParametersGoThroughTheHostBaseClass) {
  set("Param0", R"({"XNodeSeq": [{"Name": "P1", "Nodes": [{"UUID": "0a0b"}]}]})");
  set("Param1", R"({"BObjectKey": {"object_type": "Part", "UUID": "01"}})");
  XNodeSeq* seq = nullptr;
  ASSERT_EQ(command_->GetXNodeSeqParameter("Param0", seq), S_OK);
  EXPECT_EQ((*seq)[0].Nodes[0].UUID, (_SEQUENCE_octet{0x0a, 0x0b}));
  QEM_NlsProductTypes::BObjectKey* key = nullptr;
  ASSERT_EQ(command_->GetBObjectKeyParameter("Param1", key), S_OK);
  EXPECT_EQ(key->object_type, "Part");
}

TEST_F(HostValues, ValueParametersGoThroughTheAdapter) {
  set("s", R"({"string": "TRUE"})");
  set("i", R"({"int": -4})");
  set("u", R"({"uchar": 1})");
  set("o", R"({"octets": "ff00"})");
  set("l", R"({"strings": ["a", "b"]})");
  set("f", R"({"fail": -2147467259})");
  ZORUnicodeString text;
  EXPECT_EQ(adapter_->GetParameter("s", text), S_OK);
  EXPECT_EQ(text, "TRUE");
  int i = 0;
  EXPECT_EQ(adapter_->GetParameter("i", i), S_OK);
  EXPECT_EQ(i, -4);
  unsigned char u = 0;
  EXPECT_EQ(adapter_->GetParameter("u", u), S_OK);
  EXPECT_EQ(u, 1);
  _SEQUENCE_octet* octets = nullptr;
  EXPECT_EQ(adapter_->GetParameter("o", octets), S_OK);
  EXPECT_EQ(*octets, (_SEQUENCE_octet{0xff, 0x00}));
  ZORListValZORUnicodeString* list = nullptr;
  EXPECT_EQ(adapter_->GetParameter("l", list), S_OK);
  EXPECT_EQ((*list)[2], "b");
  EXPECT_EQ(adapter_->GetParameter("f", text), E_FAIL);
  EXPECT_EQ(adapter_->GetParameter("missing", text), E_NOTFOUND);
}

TEST_F(HostValues, StreamableParametersCarryWhatTheCaseGives) {
  set("empty", R"({"streamable": null})");
  set("none", R"({"streamable": {"object": null}})");
  set("failing", R"({"streamable": {"status": -2147467259, "typeName": "NormalValueSeq"}})");
  set("values", R"({"streamable": {"NormalValueSeq": [{"Sign": "+"}]}})");
  set("text", R"({"streamable": {"string": "TRUE"}})");
  MIROIStreamable_var handle;
  ASSERT_EQ(adapter_->GetParameter("empty", handle), S_OK);
  EXPECT_TRUE(handle.IsNull());

  QEMConfig::NormalValueSeq* values = nullptr;
  ASSERT_EQ(adapter_->GetParameter("none", handle), S_OK);
  EXPECT_EQ(handle->GetObject(values), S_OK);
  EXPECT_EQ(values, nullptr);

  ASSERT_EQ(adapter_->GetParameter("failing", handle), S_OK);
  EXPECT_EQ(handle->GetObject(values), E_FAIL);
  ZORUnicodeString typeName;
  handle->GetTypeName(typeName);
  EXPECT_EQ(typeName, "NormalValueSeq");

  ASSERT_EQ(adapter_->GetParameter("values", handle), S_OK);
  ASSERT_EQ(handle->GetObject(values), S_OK);
  EXPECT_EQ((*values)[0].Sign, "+");
  ZORUnicodeString* text = nullptr;
  EXPECT_EQ(handle->GetObject(text), E_NOINTERFACE);  // type-checked

  ASSERT_EQ(adapter_->GetParameter("text", handle), S_OK);
  ASSERT_EQ(handle->GetObject(text), S_OK);
  EXPECT_EQ(*text, "TRUE");
}

TEST_F(HostValues, ResultsComeBackInTheParameterNotation) {
  command_->SetXNodeResult("result0", new XNode{"CH", "", "", {}});
  adapter_->SetResult("result1", 7);
  adapter_->SetResult("result2", static_cast<unsigned char>(1));
  adapter_->SetResult("result3", MIROIStreamable_var());
  auto* streamer = new ZORUnicodeStringStreamer();
  ZORUnicodeString yes("TRUE");
  streamer->SetObject(&yes);
  adapter_->SetResult("result4", MIROIStreamable_var(streamer));
  auto* blank = new MultiCOFilterStreamer();
  adapter_->SetResult("result5", MIROIStreamable_var(blank));
  streamer->Release();
  blank->Release();

  CompactRecords compact;
  EXPECT_EQ(readResults(*command_), Json::parse(R"({
    "result0": {"XNode": {"Name": "CH"}},
    "result1": {"int": 7},
    "result2": {"uchar": 1},
    "result3": {"streamable": null},
    "result4": {"streamable": {"streamer": "StringStreamerLT", "string": "TRUE"}},
    "result5": {"streamable": {"streamer": "FilterValueSeqStreamerLT", "object": null}}
  })"));
}

TEST(HostRunner, EachCaseLoadsTheLibraryAfreshAndUnloadsIt) {
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
}

TEST(HostRunner, TheCasesOfAFileShareALoadUnlessOneAsksForAFreshOne) {
  Case c;
  c.command = "OKS_getCvUuid";
  FileRun run({OKS_LIBRARY_PATH});
  Json first = run.run(c);
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
  EXPECT_TRUE(again.str().ends_with("1 passed, 2 failed\n")) << again.str();

  std::filesystem::remove(dir + "/fail.json");
  std::ostringstream passing;
  EXPECT_EQ(checkCases({dir}, options, passing), exitPassed);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace oks::host
