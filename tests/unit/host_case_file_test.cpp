// Reading case files: single and grouped cases, member-by-member replacement, and the one-line
// errors of malformed input.
#include <gtest/gtest.h>

#include <oks/host/cases/case_file.h>

namespace oks::host {
namespace {

std::vector<ReadCase> read(const std::string& text) { return readCaseText(text, "f.json"); }

std::string onlyError(const std::string& text) {
  auto cases = read(text);
  EXPECT_EQ(cases.size(), 1u);
  return cases.empty() ? "" : cases[0].error;
}

TEST(HostCaseFile, ASingleCase) {
  auto cases = read(R"({"name": "n", "command": "OKS_getCHList",
                        "params": {"Param0": {"XNodeSeq": [{"Name": "P1"}]}, "Param1": {"int": 3}},
                        "server": {"getCHList": {"status": 0, "out": [null]}},
                        "faults": {"alloc": {"command": [1, 3]}, "setResult": {"result0": -1},
                                   "streamers": [{"lateType": "StringStreamerLT", "nth": 2, "interface": false}]},
                        "expect": {"status": 0}})");
  ASSERT_EQ(cases.size(), 1u);
  ASSERT_TRUE(cases[0].spec) << cases[0].error;
  const Case& c = *cases[0].spec;
  EXPECT_FALSE(cases[0].grouped);
  EXPECT_EQ(c.name, "n");
  EXPECT_EQ(c.command, "OKS_getCHList");
  ASSERT_EQ(c.params.size(), 2u);
  EXPECT_EQ(c.params[0].key, "Param0");
  EXPECT_EQ(std::get<XNodeSeq>(c.params[0].value)[0].Name, "P1");
  EXPECT_EQ(std::get<int>(c.params[1].value), 3);
  EXPECT_EQ(c.server["getCHList"]["status"], 0);
  EXPECT_EQ(c.faults.alloc.at(AllocKind::Command), (std::vector<int>{1, 3}));
  EXPECT_EQ(c.faults.setResult.at("result0"), -1);
  ASSERT_EQ(c.faults.streamers.size(), 1u);
  EXPECT_EQ(c.faults.streamers[0].nth, 2);
  EXPECT_FALSE(c.faults.streamers[0].interface);
  EXPECT_TRUE(c.faults.streamers[0].impl);
  EXPECT_EQ((*c.expect)["status"], 0);
}

TEST(HostCaseFile, GroupedCasesReplaceSharedMembersOneByOne) {
  auto cases = read(R"({"command": "OKS_getCHList",
    "params": {"Param0": {"int": 1}, "Param1": {"string": "a"}},
    "server": {"getCHList": {"status": 1}, "isIWAppSet": {"status": 2}},
    "faults": {"alloc": {"command": [1]}, "setResult": {"result0": -1}},
    "cases": [
      {"name": "shared", "expect": {}},
      {"name": "own", "params": {"Param1": {"string": "b"}, "Param0": null, "Param2": {"uchar": 1}},
       "server": {"getCHList": null, "IsClose": {"status": 0}}, "faults": {"alloc": null},
       "command": "OKS_getCvUuid", "expect": {}}
    ]})");
  ASSERT_EQ(cases.size(), 2u);
  ASSERT_TRUE(cases[0].spec && cases[1].spec);
  EXPECT_TRUE(cases[0].grouped);
  const Case& shared = *cases[0].spec;
  EXPECT_EQ(shared.params.size(), 2u);
  EXPECT_EQ(shared.server.size(), 2u);
  EXPECT_EQ(shared.faults.alloc.size(), 1u);
  const Case& own = *cases[1].spec;
  EXPECT_EQ(own.command, "OKS_getCvUuid");
  ASSERT_EQ(own.params.size(), 2u);
  EXPECT_EQ(own.params[0].key, "Param1");
  EXPECT_EQ(std::get<ZORUnicodeString>(own.params[0].value), "b");
  EXPECT_EQ(own.params[1].key, "Param2");
  EXPECT_FALSE(own.server.contains("getCHList"));
  EXPECT_TRUE(own.server.contains("isIWAppSet"));
  EXPECT_TRUE(own.server.contains("IsClose"));
  EXPECT_TRUE(own.faults.alloc.empty());
  EXPECT_EQ(own.faults.setResult.size(), 1u);
}

TEST(HostCaseFile, NestedGroupsSharedExpectMergedAnswersAndRows) {
  auto cases = read(R"({"command": "X", "params": {"P": {"int": 1}},
    "server": {"addCH": {"status": 1, "out": [null]}, "GetParent": [{"status": 1}, {"status": 2}]},
    "expect": {"status": 0, "trace": ["a", "b"]},
    "cases": [
      {"name": "inner", "fresh_load": true, "expect": {"status": null, "calls": [], "trace": {"merge": {"1": "c"}}},
       "server": {"addCH": {"merge": {"status": 5, "out": null}}, "GetParent": {"merge": {"1": {"status": 7}}}},
       "cases": [{"name": "a"}, {"name": "b", "params": {"P": null}, "fresh_load": false}]},
      {"name": "t", "columns": ["name", "params.Q", "expect.status"],
       "rows": [["r0", {"uchar": 2}, 3], ["r1", null, 4]]}
    ]})");
  ASSERT_EQ(cases.size(), 4u);
  for (const auto& c : cases) ASSERT_TRUE(c.spec) << c.error;
  const Case &a = *cases[0].spec, &b = *cases[1].spec, &r0 = *cases[2].spec, &r1 = *cases[3].spec;
  EXPECT_EQ(a.name, "a");
  EXPECT_TRUE(a.freshLoad);
  EXPECT_FALSE(b.freshLoad);
  EXPECT_EQ(*a.expect, Json::parse(R"({"status": null, "trace": ["a", "c"], "calls": []})"));
  EXPECT_EQ(a.server["addCH"], Json::parse(R"({"status": 5})"));
  EXPECT_EQ(a.server["GetParent"], Json::parse(R"([{"status": 1}, {"status": 7}])"));
  EXPECT_EQ(a.params.size(), 1u);
  EXPECT_TRUE(b.params.empty());
  EXPECT_EQ(r0.name, "r0");
  EXPECT_EQ(std::get<unsigned char>(r0.params[1].value), 2);
  EXPECT_EQ((*r0.expect)["status"], 3);
  EXPECT_EQ(r1.params.size(), 1u);
  EXPECT_EQ(r1.server["addCH"]["status"], 1);
  EXPECT_EQ(*r1.expect, Json::parse(R"({"status": 4, "trace": ["a", "b"]})"));
}

TEST(HostCaseFile, StreamableParameters) {
  auto cases = read(R"({"command": "X", "params": {
    "a": {"streamable": null},
    "b": {"streamable": {"string": "TRUE", "typeName": "T"}},
    "c": {"streamable": {"object": null}},
    "d": {"streamable": {"status": -2147467259}},
    "e": {"streamable": {"AttributeFilters": [{"Attribute": "A", "Operator": "=", "Value": "v"}]}},
    "f": {"fail": -2147467259}}})");
  ASSERT_TRUE(cases[0].spec) << cases[0].error;
  const auto& p = cases[0].spec->params;
  EXPECT_TRUE(std::get<StreamableValue>(p[0].value).emptyHandle);
  const auto& b = std::get<StreamableValue>(p[1].value);
  EXPECT_EQ(std::get<ZORUnicodeString>(b.content), "TRUE");
  EXPECT_EQ(b.typeName, "T");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(std::get<StreamableValue>(p[2].value).content));
  EXPECT_EQ(std::get<StreamableValue>(p[3].value).status, E_FAIL);
  EXPECT_EQ(std::get<AttributeFilters>(std::get<StreamableValue>(p[4].value).content)[1]->Value, "v");
  EXPECT_EQ(std::get<FailingParam>(p[5].value).status, E_FAIL);
}

TEST(HostCaseFile, AFileThatIsNotJsonGivesLineAndColumn) {
  std::string error = onlyError("{\n  \"command\": \"X\",\n  \"params\": {,}\n}");
  EXPECT_EQ(error.rfind("not JSON: parse error at line 3, column 14", 0), 0u) << error;
}

TEST(HostCaseFile, MalformedMembersAreNamed) {
  // The error: the place and what is wrong there (its beginning, where it ends in "...").
  const std::pair<const char*, const char*> table[] = {
      {R"({"params": {}})", "command: missing: the late type of the command to run"},
      {R"({"params": {"Param0": {"Xnode": {}}}})",
       "params.Param0.Xnode: unknown parameter kind (expected one of Node, ..."},
      {R"({"params": {"Param0": {"XNode": {}, "int": 1}}})",
       "params.Param0: expected a one-member object naming the kind, such as {\"XNode\": {...}}"},
      {R"({"params": {"Param0": {"XNode": {"Nodes": [{"UUID": "0g"}]}}}})",
       "params.Param0.XNode.Nodes[0].UUID: expected a hex string"},
      {R"({"params": {"P": {"streamable": {"string": "a", "object": null}}}})",
       "params.P.streamable.string: a streamable carries one object; object is given too"},
      {R"({"params": {"P": {"fail": 0}}})", "params.P.fail: a failing getter returns a negative status"},
      {R"({"server": {"getCHLists": {}}})", "server.getCHLists: the server has no operation of that name"},
      {R"({"faults": {"alloc": {"command": [0]}}})", "faults.alloc.command[0]: occurrences count from 1"},
      {R"({"faults": {"leak": {}}})",
       "faults.leak: unknown fault (expected one of alloc, streamers, setResult)"},
      {R"({"expect": {"stauts": 0}})", "expect.stauts: unknown member..."},
      {R"({"expect": {"calls": ["getCHList", {"op": "getCHLst"}]}})",
       "expect.calls[1].op: the server has no operation named getCHLst"},
      {R"({"expect": {"trace": ["+a", 1]}})", "expect.trace[1]: expected a string"},
      {R"({"expected": {}})", "expected: unknown member..."},
      {R"({"cases": [{"server": {"addCH": {"merge": {}}}}]})",
       "cases[0].server.addCH.merge: nothing shared to change"},
      {R"({"server": {"GetParent": [{}]}, "cases": [{"server": {"GetParent": {"merge": {"1": {}}}}}]})",
       "cases[0].server.GetParent.merge.1: no shared element of that index"},
      {R"({"columns": ["name", "expect.status"], "rows": [["a"]]})",
       "rows[0]: expected 2 values, one for each column"},
      {R"({"columns": ["params.P.int"], "rows": [["one"]]})",
       "rows[0].params.P.int: expected an integer from -2147483648 to 2147483647"},
  };
  for (const auto& [members, error] : table) {
    Json j = Json::parse(members);
    if (error != table[0].second) j["command"] = "X";  // every case but the first names its command
    std::string expected = error, got = onlyError(j.dump());
    if (expected.ends_with("...")) got = got.substr(0, expected.size() - 3) + "...";
    EXPECT_EQ(got, expected) << members;
  }
}

TEST(HostCaseFile, AMalformedCaseOfAGroupLeavesTheOthersUsable) {
  auto cases = read(R"({"command": "X", "cases": [
      {"name": "good", "expect": {}},
      {"name": "bad", "params": {"Param0": {"int": "one"}}, "expect": {}},
      {"expect": {"status": "zero"}}]})");
  ASSERT_EQ(cases.size(), 3u);
  EXPECT_TRUE(cases[0].spec);
  EXPECT_EQ(cases[1].name, "bad");
  EXPECT_FALSE(cases[1].spec);
  EXPECT_EQ(cases[1].error, "cases[1].params.Param0.int: expected an integer from -2147483648 to 2147483647");
  EXPECT_EQ(cases[2].name, "cases[2]");
  EXPECT_EQ(cases[2].error, "cases[2].expect.status: expected an integer from -2147483648 to 2147483647");
}

TEST(HostCaseFile, ASharedMemberIsReportedWhereItIsWritten) {
  auto cases = read(R"({"command": "X", "params": {"Param0": {"int": "one"}},
                        "cases": [{"name": "a"}, {"name": "b", "params": {"Param0": {"int": 1}}}]})");
  ASSERT_EQ(cases.size(), 2u);
  EXPECT_EQ(cases[0].error, "params.Param0.int: expected an integer from -2147483648 to 2147483647");
  EXPECT_TRUE(cases[1].spec);
}

}  // namespace
}  // namespace oks::host
