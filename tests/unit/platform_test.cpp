// Stand-in server pieces the commands rely on: strings, the trace text, streamables.
#include "tests/unit/library_fixture.h"
#include <oks/platform/faults.h>
#include <oks/platform/streamable.h>
#include <oks/platform/trace.h>
#include <oks/platform/zor_unicode_string.h>

namespace oks::test {
namespace {

TEST(UnicodeString, CountsCharactersComparesAndConvertsNumbers) {
  EXPECT_EQ(ZORUnicodeString("Ab\xc3\xa9").GetLengthInChar(), 3);
  EXPECT_EQ(ZORUnicodeString("").GetLengthInChar(), 0);
  EXPECT_NE(ZORUnicodeString("1").Compare("1"), 0);
  EXPECT_EQ(ZORUnicodeString("1 ").Compare("1"), 0);
  ZORUnicodeString n;
  EXPECT_EQ(n.BuildFromNum(-12, "%d"), "-12");
  int value = 0;
  EXPECT_EQ(ZORUnicodeString("3").ConvertToNum(&value, "%d"), S_OK);
  EXPECT_EQ(value, 3);
  EXPECT_LT(ZORUnicodeString("x").ConvertToNum(&value, "%d"), 0);
  EXPECT_EQ(value, 3);
}

TEST(TraceText, JoinsFragmentsIntoLinesAndEndsPendingTextAtSteps) {
  TraceCapture capture;
  ScopedTraceSink sink(&capture);
  ZORQemTrace trace("SINGLE_IDL", "SINGLE_IDL", "STDOUT", 1024, static_cast<ZORTraMode>(0));
  {
    ZORQemTraceStep step(trace, "x::AppExecute");
    trace << "The number of objects: " << 3 << "\n";
    trace << "flag " << static_cast<unsigned char>(1) << " and " << -2147467259L;
    ZORQemTraceStep inner(trace, "inner");
    trace << ZORQemTrace_returns << 0L << ZORQemTrace_nl;
  }
  auto lines = capture.take();
  EXPECT_EQ(texts(lines),
            (std::vector<std::string>{"+x::AppExecute", "The number of objects: 3", "flag 1 and -2147467259",
                                      "+inner", "returns 0", "-inner", "-x::AppExecute"}));
  EXPECT_EQ(lines[4].depth, 2);
}

TEST(Streamable, TheObjectAccessorIsTypeCheckedAndCanBeMadeToFail) {
  NormalValueSeqStreamer streamer;
  streamer.SetObject(new QEMConfig::NormalValueSeq(2));
  QEMConfig::NormalValueSeq* values = nullptr;
  EXPECT_EQ(streamer.GetObject(values), S_OK);
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values->length(), 2u);
  ZORUnicodeString* text = reinterpret_cast<ZORUnicodeString*>(&streamer);
  EXPECT_EQ(static_cast<MIROIStreamable&>(streamer).GetObject(text), E_NOINTERFACE);
  EXPECT_EQ(text, nullptr);
  ZORUnicodeString name;
  EXPECT_EQ(streamer.GetTypeName(name), S_OK);
  EXPECT_EQ(name, "NormalValueSeq");

  // A string streamer copies its text; its accessor can be made to fail.
  ZORUnicodeStringStreamer strings;
  {
    ZORUnicodeString local("TRUE");
    strings.SetObject(&local);
  }
  ASSERT_EQ(strings.GetObject(text), S_OK);
  EXPECT_EQ(*text, "TRUE");
  strings.setAccessorStatus(E_FAIL);
  EXPECT_EQ(strings.GetObject(text), E_FAIL);
  EXPECT_EQ(text, nullptr);

  StreamableBase empty;
  QEMConfig::MultiCOFilter* filter = nullptr;
  EXPECT_EQ(empty.GetObject(filter), S_OK);
  EXPECT_EQ(filter, nullptr);
}

// The cases make a streamer lack its interface or its implementation; a fault may also give a status.
TEST(Streamable, AStreamerFaultAppliesToTheNthStreamerOfItsLateType) {
  FaultPlan plan;
  plan.streamers.push_back({"StringStreamerLT", 2, true, E_FAIL, true});
  setFaults(plan);
  for (HRESULT expected : {S_OK, E_FAIL}) {
    ZORBaseUnknown* object = new ZORObject("StringStreamerLT", nullptr);
    MIROIStreamable* streamer = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_MIROIStreamable, reinterpret_cast<void**>(&streamer)), expected);
    object->Release();
    ASSERT_NE(streamer, nullptr);
    EXPECT_NE(streamer->GetImpl(1), nullptr);
    streamer->Release();
  }
  clearFaults();
}

}  // namespace
}  // namespace oks::test
