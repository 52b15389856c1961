// The matching rules of case expectations, as a table: an expectation against one observed
// outcome, and the member paths that differ.
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
    "trace": [" x executed successfully.", "returns 0"],
    "lifecycle": ["+x::constructor", "-x::constructor"],
    "calls": [{"op": "getCHList", "args": [[{"Name": "P1"}], null]}, {"op": "GetDataDomain", "args": []}],
    "exception": null
  })");
}

using Paths = std::vector<std::string>;

Paths paths(const Json& expect, const Json& observed = outcome()) {
  Paths out;
  for (const auto& d : matchOutcome(expect, observed)) out.push_back(d.path);
  return out;
}

TEST(HostMatcher, DifferencesByRule) {
  const std::pair<const char*, Paths> table[] = {
      // members left out are not checked; scalars match exactly, numbers by value
      {R"({})", {}},
      {R"({"status": 0, "created": true, "exception": null})", {}},
      {R"({"status": 1, "created": false, "exception": "x"})", {"status", "created", "exception"}},
      {R"({"status": null})", {"status"}},
      // results hold exactly the listed keys; an expected object matches on the members it lists
      {R"({"results": {}})", {"results.result0", "results.result1"}},
      {R"({"results": {"result0": {"XNodeSeq": [{}]}, "result1": {"streamable": {}}, "result2": {"int": 1}}})",
       {"results.result2"}},
      {R"({"results": {"result0": {"XNodeSeq": [{"Nodes": [{"UUID": "01"}]}]},
                       "result1": {"streamable": {"string": "TRUE"}}}})",
       {}},
      {R"({"results": {"result0": {"XNodeSeq": [{"Nodes": [{"UUID": "02"}]}]},
                       "result1": {"streamable": {"string": "TRUE", "object": null}}}})",
       {"results.result0.XNodeSeq[0].Nodes[0].UUID", "results.result1.streamable.object"}},
      {R"({"results": {"result0": {"XNodeSeq": [{"Nodes": "01"}]}, "result1": {"streamable": {"string": {"t": 1}}}}})",
       {"results.result0.XNodeSeq[0].Nodes", "results.result1.streamable.string"}},
      // arrays match element by element with the same length
      {R"({"results": {"result0": {"XNodeSeq": [{}, {}]}, "result1": {}}})", {"results.result0.XNodeSeq"}},
      {R"({"results": {"result0": {"XNodeSeq": []}, "result1": {}}})", {"results.result0.XNodeSeq"}},
      // trace and lifecycle lines match exactly and in full
      {R"({"trace": [" x executed successfully.", "returns 0"]})", {}},
      {R"({"trace": ["x executed successfully.", "returns 0"]})", {"trace[0]"}},
      {R"({"lifecycle": ["+x::constructor"]})", {"lifecycle", "lifecycle[1]"}},
      {R"({"lifecycle": []})", {"lifecycle", "lifecycle[0]", "lifecycle[1]"}},
      // calls match in length and order; an entry may be just the operation name
      {R"({"calls": ["getCHList", "GetDataDomain"]})", {}},
      {R"({"calls": ["GetDataDomain", "getCHList"]})", {"calls[0].op", "calls[1].op"}},
      {R"({"calls": ["getCHList"]})", {"calls"}},
      {R"({"calls": [{"op": "getCHList", "args": [[{"Name": "P1"}], null]}, "GetDataDomain"]})", {}},
      {R"({"calls": [{"args": [[{"Name": "P2"}], null]}, {"op": "GetDataDomain"}]})",
       {"calls[0].args[0][0].Name"}},
      {R"({"calls": [{"op": "getCHList", "args": [[{"Name": "P1"}]]}, "GetDataDomain"]})", {"calls[0].args"}},
  };
  for (const auto& [expect, differing] : table) EXPECT_EQ(paths(Json::parse(expect)), differing) << expect;
}

TEST(HostMatcher, WhatIsAbsentOnEitherSideIsMarked) {
  auto d = matchOutcome(Json::parse(R"({"created": false, "status": 0})"),
                        {{"created", false}, {"lifecycle", Json::array()}});
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].path, "status");
  EXPECT_TRUE(d[0].observedAbsent);
  d = matchOutcome(Json::parse(R"({"results": {"result0": {"XNodeSeq": [{}]}}})"), outcome());
  ASSERT_EQ(d.size(), 1u);
  EXPECT_TRUE(d[0].expectedAbsent);
}

TEST(HostMatcher, AMissingAppExecuteBracketFailsWhateverIsExpected) {
  Json observed = outcome();
  observed["bracket"] = "expected the trace to open with +x::AppExecute and close with -x::AppExecute";
  auto d = matchOutcome(Json::object(), observed);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].path, "trace");
  EXPECT_EQ(d[0].what, observed["bracket"]);
}

TEST(HostMatcher, NumbersCompareByValue) {
  std::vector<Difference> out;
  matchValue(Json(1), Json(1u), "n", out);
  matchValue(Json(-2147467259), Json::parse("-2147467259"), "n", out);
  EXPECT_TRUE(out.empty());
  matchValue(Json(1), Json("1"), "n", out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].what, "differs");
}

}  // namespace
}  // namespace oks::host
