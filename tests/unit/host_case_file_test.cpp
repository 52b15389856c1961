// Reading case files: single and grouped cases, member-by-member replacement, and the one-line
// errors of malformed input, scripted server answers among them.
#include <gtest/gtest.h>

#include <tuple>

#include <oks/host/cases/case_file.h>

namespace oks::host {
namespace {

std::vector<ReadCase> read(const std::string& text) { return readCaseText(text, "f.json"); }

std::string onlyError(const std::string& text) {
  auto cases = read(text);
  EXPECT_EQ(cases.size(), 1u);
  return cases.empty() ? "" : cases[0].error;
}

// What a group shares reaches its cases, nested groups and rows alike: members replaced one by one
// (null removes a parameter, answer or fault, and expects null in expect), merged answers and
// expectations, a case's own command, fresh loads, and the faults decoded.
TEST(HostCaseFile, GroupsShareReplaceMergeAndNest) {
  auto cases = read(R"({"command": "X", "params": {"P": {"int": 1}},
    "server": {"addCH": {"status": 1, "out": [null]}, "GetParent": [{"status": 1}, {"status": 2}]},
    "faults": {"alloc": {"command": [1, 3]}, "setResult": {"result0": -1},
               "streamers": [{"lateType": "StringStreamerLT", "nth": 2, "interface": false}]},
    "expect": {"status": 0, "trace": ["a", "b"]},
    "cases": [
      {"name": "inner", "fresh_load": true, "expect": {"status": null, "calls": [], "trace": {"merge": {"1": "c"}}},
       "server": {"addCH": {"merge": {"status": 5, "out": null}}, "GetParent": {"merge": {"1": {"status": 7}}}},
       "cases": [{"name": "a"},
                 {"name": "b", "command": "Y", "params": {"P": null}, "server": {"GetParent": null},
                  "faults": {"alloc": null}, "fresh_load": false}]},
      {"name": "t", "columns": ["name", "params.Q", "expect.status"],
       "rows": [["r0", {"uchar": 2}, 3], ["r1", null, 4]]}
    ]})");
  ASSERT_EQ(cases.size(), 4u);
  for (const auto& c : cases) ASSERT_TRUE(c.spec) << c.error;
  const Case &a = *cases[0].spec, &b = *cases[1].spec, &r0 = *cases[2].spec, &r1 = *cases[3].spec;
  EXPECT_TRUE(cases[0].grouped);
  EXPECT_EQ(std::tuple(a.name, a.command, a.freshLoad), std::tuple("a", "X", true));
  EXPECT_EQ(std::tuple(b.command, b.freshLoad, b.params.size(), b.server.size()),
            std::tuple("Y", false, 0u, 1u));
  EXPECT_EQ(*a.expect, Json::parse(R"({"status": null, "trace": ["a", "c"], "calls": []})"));
  EXPECT_EQ(a.server["addCH"], Json::parse(R"({"status": 5})"));
  EXPECT_EQ(a.server["GetParent"], Json::parse(R"([{"status": 1}, {"status": 7}])"));
  EXPECT_EQ(a.faults.alloc.at(AllocKind::Command), (std::vector<int>{1, 3}));
  EXPECT_EQ(a.faults.setResult.at("result0"), -1);
  ASSERT_EQ(a.faults.streamers.size(), 1u);
  EXPECT_EQ(
      std::tuple(a.faults.streamers[0].nth, a.faults.streamers[0].interface, a.faults.streamers[0].impl),
      std::tuple(2, false, true));
  EXPECT_TRUE(b.faults.alloc.empty());
  EXPECT_EQ(b.faults.setResult.size(), 1u);
  EXPECT_EQ(std::get<int>(a.params[0].value), 1);
  EXPECT_EQ(r0.name, "r0");
  EXPECT_EQ(std::get<unsigned char>(r0.params[1].value), 2);
  EXPECT_EQ((*r0.expect)["status"], 3);
  EXPECT_EQ(r1.params.size(), 1u);
  EXPECT_EQ(r1.server["addCH"]["status"], 1);
  EXPECT_EQ(*r1.expect, Json::parse(R"({"status": 4, "trace": ["a", "b"]})"));
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
      {R"({"server": {"getCHList": {"status": 0, "out": [null, null]}}})",
       "server.getCHList.out: the operation has 1 output, 2 given"},
      {R"({"server": {"getCHList": [{}, {"out": [[{"Nodes": [{"UUID": "xy"}]}]]}]}})",
       "server.getCHList[1].out[0][0].Nodes[0].UUID: expected a hex string"},
      {R"({"server": {"getCHList": {"value": true}}})", "server.getCHList.value: unknown member..."},
      {R"({"server": {"GetDataDomain": {"status": 0}}})", "server.GetDataDomain.status: unknown..."},
      {R"({"server": {"GetFactoryObjectByUUID": {"value": "desktop"}}})",
       "server.GetFactoryObjectByUUID.value: expected \"modification\", \"object\" or null"},
      {R"({"server": {"IsECOMod": {"out": ["yes"]}}})", "server.IsECOMod.out[0]: expected true or null"},
      {R"({"server": {"isIWAppSet": {"throw": "x", "status": 1}}})", "server.isIWAppSet.status..."},
      {R"({"server": {"isIWAppSet": 1}})",
       "server.isIWAppSet: expected an answer object or an array of them"},
      {R"({"server": {"getFilter": {"out": [null, 1, 256]}}})",
       "server.getFilter.out[2]: expected an integer from 0 to 255"},
      {R"({"faults": {"alloc": {"command": [0]}}})", "faults.alloc.command[0]: occurrences count from 1"},
      {R"({"faults": {"streamers": [{"lateType": "NoSuchLT"}]}})",
       "faults.streamers[0].lateType: \"NoSuchLT\" is not the late type of a streamer"},
      {R"({"faults": {"streamers": [{"nth": 1}]}})",
       "faults.streamers[0]: a streamer fault needs its \"lateType\""},
      {R"({"faults": {"streamers": [{"lateType": "StringStreamerLT", "nth": 0}]}})",
       "faults.streamers[0].nth: occurrences count from 1"},
      {R"({"cases": []})", "cases: empty (a group holds at least one case)"},
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

// A malformed case of a group leaves the others usable; a shared member is reported where it is
// written, for each case that uses it.
TEST(HostCaseFile, AMalformedCaseOfAGroupLeavesTheOthersUsable) {
  auto cases = read(R"({"command": "X", "params": {"Param1": {"int": "one"}}, "cases": [
      {"name": "good", "params": {"Param1": null}},
      {"name": "bad", "params": {"Param1": null, "Param0": {"int": "one"}}},
      {"params": {"Param1": null}, "expect": {"status": "zero"}},
      {"name": "shared"}]})");
  ASSERT_EQ(cases.size(), 4u);
  EXPECT_TRUE(cases[0].spec);
  EXPECT_EQ(cases[1].name, "bad");
  EXPECT_FALSE(cases[1].spec);
  EXPECT_EQ(cases[1].error, "cases[1].params.Param0.int: expected an integer from -2147483648 to 2147483647");
  EXPECT_EQ(cases[2].name, "cases[2]");
  EXPECT_EQ(cases[2].error, "cases[2].expect.status: expected an integer from -2147483648 to 2147483647");
  EXPECT_EQ(cases[3].error, "params.Param1.int: expected an integer from -2147483648 to 2147483647");
}

}  // namespace
}  // namespace oks::host
