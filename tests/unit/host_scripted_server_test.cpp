// The scripted server: every operation of the seam is scripted, records its arguments on entry
// and answers from the case (malformed answers: host_case_file_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include <oks/host/cases/scripted_server.h>
#include <oks/service/session.h>
#include <oks/types/config.h>

namespace oks::host {
namespace {

// A default argument of each parameter type, as an lvalue.
template <class T>
T& defaultArg() {
  static T value{};
  return value;
}
template <>
const ServerObject& defaultArg<const ServerObject>() {
  static ServerObject object(0, "test");
  return object;
}

template <class R, class... P>
void callWithDefaults(Server& s, R (Server::*op)(P...)) {
  (s.*op)(defaultArg<std::remove_reference_t<P>>()...);
}

class ScriptedServerTest : public ::testing::Test {
 protected:
  void TearDown() override { resetSession(); }
};

TEST_F(ScriptedServerTest, EveryOperationIsScriptedAndRecorded) {
  ScriptedServer scripted(Json::object());
  Server& s = scripted.server();
  std::vector<std::string> called;
#define OKS_OPERATION(Class, Return, name, parameters) \
  callWithDefaults(s, &Server::name);                  \
  called.push_back(#name);
#include <oks/service/server_operations.def>
  ASSERT_EQ(scripted.calls().size(), called.size());
  for (std::size_t i = 0; i < called.size(); ++i) EXPECT_EQ(scripted.calls()[i]["op"], called[i]);
}

TEST_F(ScriptedServerTest, RecordsArgumentsOnEntryInSignatureOrder) {
  CompactRecords compact;  // records as the cases write them
  ScriptedServer scripted(Json::object());
  Server& s = scripted.server();
  XNodeSeq in{XNode{"P1", "PRC", "CONFIG", {Node{}}}};
  XNodeSeq* out = nullptr;
  s.getCHList(in, out);
  XNodeSeq stale;
  out = &stale;
  s.getCHList(in, out);

  QEMConfig::MultiCOFilter filter(1);
  filter[0].COName = "CO";
  AttributeFilters* attributes = nullptr;
  XNode* handler = nullptr;
  s.addCH(Node{}, Node{}, filter, "id", "desc", "mode", 3, 1, 0, "crit", 1, attributes, handler);

  CORBA::Environment environment;
  ZORIQemFactoryObject_var object(makeServerObject(ServerObject::FactoryObject, "o"));
  s.setValuesOnObject(object, XNode{}, "CreateMask", environment);
  _SEQUENCE_octet uuid{0xab};
  s.ExtendEffectivity({}, &uuid);
  s.ExtendEffectivity({}, nullptr);
  s.deleteModification(uuid);
  s.GetAppObjectByObject(ZORIQemFactoryObject_var(), "text");
  s.GetOrbixXNode(nullptr, 1, 2);
  s.GetParent(defaultArg<const ServerObject>(), defaultArg<ZORICfgModification_var>());
  s.PopEnvironment();

  EXPECT_EQ(scripted.calls(), Json::parse(R"([
    {"op": "getCHList", "args": [[{"Name": "P1", "Type": "PRC", "Environment": "CONFIG", "Nodes": [{}]}], null]},
    {"op": "getCHList", "args": [[{"Name": "P1", "Type": "PRC", "Environment": "CONFIG", "Nodes": [{}]}], []]},
    {"op": "addCH", "args": [{}, {}, [{"COName": "CO"}], "id", "desc", "mode", 3, 1, 0, "crit", 1, null, null]},
    {"op": "setValuesOnObject", "args": [true, {}, "CreateMask", null]},
    {"op": "ExtendEffectivity", "args": [[], "ab"]},
    {"op": "ExtendEffectivity", "args": [[], null]},
    {"op": "deleteModification", "args": ["ab"]},
    {"op": "GetAppObjectByObject", "args": [null, "text"]},
    {"op": "GetOrbixXNode", "args": [1, 2]},
    {"op": "GetParent", "args": [null]},
    {"op": "PopEnvironment", "args": []}
  ])"));
}

// Outputs in signature order, null leaving an in/out value as the command set it; an array of
// answers used in call order, then none; an operation without an answer leaves its outputs alone.
TEST_F(ScriptedServerTest, AnswersInSignatureAndCallOrder) {
  ScriptedServer scripted(Json::parse(R"({
    "getCHFilter": {"status": 5, "out": [[{"COName": "CO"}], 7, 1, null, [{"Query": "q"}], null, "crit", 1]},
    "isIWAppSet": [{"status": 1}, {"status": -5}], "IsClose": {"status": 1}
  })"));
  Server& s = scripted.server();
  QEMConfig::MultiCOFilter* filter = nullptr;
  int mode = 2;
  unsigned char m150 = 9, hide = 9, caseSensitive = 0;
  ObjectQueries* queries = nullptr;
  auto before = std::make_unique<AttributeFilters>();
  AttributeFilters* attributes = before.get();
  ZORUnicodeString criterion;
  EXPECT_EQ(s.getCHFilter(Node{}, Node{}, "n", filter, mode, m150, hide, queries, attributes, criterion,
                          caseSensitive),
            5);
  std::unique_ptr<QEMConfig::MultiCOFilter> ownFilter(filter);
  std::unique_ptr<ObjectQueries> ownQueries(queries);
  ASSERT_TRUE(filter && queries);
  EXPECT_EQ((*filter)[0].COName, "CO");
  EXPECT_EQ((*queries)[1]->Query, "q");
  EXPECT_EQ(std::tuple(mode, m150, hide, caseSensitive, criterion),
            std::tuple(7, 1, 9, 1, ZORUnicodeString("crit")));
  EXPECT_EQ(attributes, nullptr);

  EXPECT_EQ(std::vector({s.isIWAppSet(), s.isIWAppSet(), s.isIWAppSet()}), std::vector<HRESULT>({1, -5, 0}));
  const ServerObject& action = defaultArg<const ServerObject>();
  EXPECT_EQ(std::vector({s.IsClose(action), s.IsClose(action)}), std::vector<HRESULT>({1, 1}));

  QEMConfig::MultiCOFilter* untouched = nullptr;
  EXPECT_EQ(s.getFilter(Node{}, untouched, mode, m150, hide), 0);
  EXPECT_EQ(std::tuple(untouched, mode, m150, hide), std::tuple(nullptr, 7, 1, 9));
  EXPECT_TRUE(s.GetDataDomain().IsEmpty());
  EXPECT_TRUE(s.GetRootDesktop().IsNull());
}

}  // namespace
}  // namespace oks::host
