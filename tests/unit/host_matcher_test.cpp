// The matching rules of case expectations.
#include <gtest/gtest.h>

#include <oks/host/cases/matcher.h>

namespace oks::host {
namespace {

Json outcome() {
  return Json::parse(R"({
    "created": true,
    "status": 0,
    "results": {"result0": {"XNodeSeq": [{"Name": "CH", "Type": "CH", "Environment": "", "Nodes": [{"UUID": "01", "Level": 0}]}]},
                "result1": {"streamable": {"streamer": "StringStreamerLT", "string": "TRUE"}}},
    "trace": ["+x::AppExecute", " x executed successfully.", "-x::AppExecute"],
    "lifecycle": ["+x::constructor", "-x::constructor"],
    "calls": [{"op": "getCHList", "args": [[{"Name": "P1"}], null]}, {"op": "GetDataDomain", "args": []}],
    "exception": null
  })");
}

std::vector<std::string> paths(const Json& expect) {
  std::vector<std::string> out;
  for (const auto& d : matchOutcome(expect, outcome())) out.push_back(d.path);
  return out;
}

using Paths = std::vector<std::string>;

TEST(HostMatcher, MembersLeftOutOfTheExpectationAreNotChecked) {
  EXPECT_EQ(paths(Json::object()), Paths{});
  EXPECT_EQ(paths(Json::parse(R"({"status": 0})")), Paths{});
}

TEST(HostMatcher, ScalarsMatchExactly) {
  EXPECT_EQ(paths(Json::parse(R"({"status": 1, "created": false, "exception": "x"})")),
            (Paths{"status", "created", "exception"}));
  EXPECT_EQ(paths(Json::parse(R"({"status": null})")), Paths{"status"});
}

TEST(HostMatcher, AMissingAppExecuteBracketFailsWhateverIsExpected) {
  Json observed = outcome();
  observed["bracket"] = "expected the trace to open with +x::AppExecute and close with -x::AppExecute";
  auto d = matchOutcome(Json::object(), observed);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].path, "trace");
  EXPECT_EQ(d[0].what, observed["bracket"]);
}

TEST(HostMatcher, AMemberNotObservedIsADifference) {
  Json observed = {{"created", false}, {"lifecycle", Json::array()}};
  auto d = matchOutcome(Json::parse(R"({"created": false, "status": 0})"), observed);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].path, "status");
  EXPECT_TRUE(d[0].observedAbsent);
}

TEST(HostMatcher, ResultsHoldExactlyTheListedKeys) {
  EXPECT_EQ(paths(Json::parse(R"({"results": {}})")), (Paths{"results.result0", "results.result1"}));
  EXPECT_EQ(paths(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{}]}, "result1": {"streamable": {}},
                                               "result2": {"int": 1}}})")),
            Paths{"results.result2"});
  auto d = matchOutcome(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{}]}}})"), outcome());
  ASSERT_EQ(d.size(), 1u);
  EXPECT_TRUE(d[0].expectedAbsent);
}

TEST(HostMatcher, AnExpectedObjectMatchesOnTheMembersItLists) {
  EXPECT_EQ(paths(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{"Nodes": [{"UUID": "01"}]}]},
                                               "result1": {"streamable": {"string": "TRUE"}}}})")),
            Paths{});
  EXPECT_EQ(paths(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{"Nodes": [{"UUID": "02"}]}]},
                                               "result1": {"streamable": {"string": "TRUE", "object": null}}}})")),
            (Paths{"results.result0.XNodeSeq[0].Nodes[0].UUID", "results.result1.streamable.object"}));
  EXPECT_EQ(paths(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{"Nodes": "01"}]},
                                               "result1": {"streamable": {"string": {"text": "TRUE"}}}}})")),
            (Paths{"results.result0.XNodeSeq[0].Nodes", "results.result1.streamable.string"}));
}

TEST(HostMatcher, ArraysMatchElementByElementWithTheSameLength) {
  EXPECT_EQ(paths(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{}, {}]}, "result1": {}}})")),
            Paths{"results.result0.XNodeSeq"});
  EXPECT_EQ(paths(Json::parse(R"({"results": {"result0": {"XNodeSeq": []}, "result1": {}}})")),
            Paths{"results.result0.XNodeSeq"});
}

TEST(HostMatcher, TraceAndLifecycleLinesMatchExactlyAndInFull) {
  EXPECT_EQ(
      paths(Json::parse(R"({"trace": ["+x::AppExecute", " x executed successfully.", "-x::AppExecute"]})")),
      Paths{});
  EXPECT_EQ(
      paths(Json::parse(R"({"trace": ["+x::AppExecute", "x executed successfully.", "-x::AppExecute"]})")),
      Paths{"trace[1]"});
  EXPECT_EQ(paths(Json::parse(R"({"lifecycle": ["+x::constructor"]})")),
            (Paths{"lifecycle", "lifecycle[1]"}));
  EXPECT_EQ(paths(Json::parse(R"({"lifecycle": []})")), (Paths{"lifecycle", "lifecycle[0]", "lifecycle[1]"}));
}

TEST(HostMatcher, CallsMatchInLengthAndOrderAndMayBeJustTheOperationName) {
  EXPECT_EQ(paths(Json::parse(R"({"calls": ["getCHList", "GetDataDomain"]})")), Paths{});
  EXPECT_EQ(paths(Json::parse(R"({"calls": ["GetDataDomain", "getCHList"]})")),
            (Paths{"calls[0].op", "calls[1].op"}));
  EXPECT_EQ(paths(Json::parse(R"({"calls": ["getCHList"]})")), Paths{"calls"});
  EXPECT_EQ(paths(Json::parse(
                R"({"calls": [{"op": "getCHList", "args": [[{"Name": "P1"}], null]}, "GetDataDomain"]})")),
            Paths{});
  EXPECT_EQ(paths(Json::parse(R"({"calls": [{"args": [[{"Name": "P2"}], null]}, {"op": "GetDataDomain"}]})")),
            Paths{"calls[0].args[0][0].Name"});
  EXPECT_EQ(
      paths(Json::parse(R"({"calls": [{"op": "getCHList", "args": [[{"Name": "P1"}]]}, "GetDataDomain"]})")),
      Paths{"calls[0].args"});
}

TEST(HostMatcher, NumbersCompareByValue) {
  std::vector<Difference> out;
  matchValue(Json(1), Json(1u), "n", out);
  matchValue(Json(-2147467259), Json::parse("-2147467259"), "n", out);
  EXPECT_TRUE(out.empty());
  matchValue(Json(1), Json("1"), "n", out);
  EXPECT_EQ(out.size(), 1u);
}

}  // namespace
}  // namespace oks::host
