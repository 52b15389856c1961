// The scripted server: every operation of the seam is scripted, records its arguments on entry
// and answers from the case.
#include <gtest/gtest.h>

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

std::string caseError(const Json& answers) {
  try {
    ScriptedServer::validate(answers, "server");
  } catch (const CaseError& e) {
    return e.what();
  }
  return "no error";
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

TEST_F(ScriptedServerTest, AnswersStatusAndOutputsInSignatureOrder) {
  ScriptedServer scripted(Json::parse(R"({
    "getCHFilter": {"status": 5, "out": [[{"COName": "CO"}], 7, 1, null, [{"Query": "q"}], null, "crit", 1]},
    "addCV": {"status": -1, "out": [{"Name": "made"}]},
    "getAllEffectivities": {"out": [[{"Sign": "+"}]]}
  })"));
  Server& s = scripted.server();
  QEMConfig::MultiCOFilter* filter = nullptr;
  int mode = 2;
  unsigned char m150 = 9, hide = 9, caseSensitive = 0;
  ObjectQueries* queries = nullptr;
  AttributeFilters* attributes = new AttributeFilters;
  ZORUnicodeString criterion;
  AttributeFilters* before = attributes;
  EXPECT_EQ(s.getCHFilter(Node{}, Node{}, "n", filter, mode, m150, hide, queries, attributes, criterion,
                          caseSensitive),
            5);
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ((*filter)[0].COName, "CO");
  EXPECT_EQ(mode, 7);
  EXPECT_EQ(m150, 1);
  EXPECT_EQ(hide, 9);  // null leaves an in/out value as the command set it
  ASSERT_NE(queries, nullptr);
  EXPECT_EQ((*queries)[1]->Query, "q");
  EXPECT_EQ(attributes, nullptr);  // null: a null pointer
  EXPECT_EQ(criterion, "crit");
  EXPECT_EQ(caseSensitive, 1);
  delete filter;
  delete queries;
  delete before;

  XNode made;
  EXPECT_EQ(s.addCV(XNode{}, made), -1);
  EXPECT_EQ(made.Name, "made");

  QEMConfig::NormalValueSeq values;
  EXPECT_EQ(s.getAllEffectivities(Node{}, Node{}, &values), 0);
  ASSERT_EQ(values.length(), 1u);
  EXPECT_EQ(values[0].Sign, "+");
}

TEST_F(ScriptedServerTest, AnArrayOfAnswersIsUsedInCallOrderThenNoAnswer) {
  ScriptedServer scripted(
      Json::parse(R"({"isIWAppSet": [{"status": 1}, {"status": -5}], "IsClose": {"status": 1}})"));
  Server& s = scripted.server();
  EXPECT_EQ(s.isIWAppSet(), 1);
  EXPECT_EQ(s.isIWAppSet(), -5);
  EXPECT_EQ(s.isIWAppSet(), 0);
  const ServerObject& action = defaultArg<const ServerObject>();
  EXPECT_EQ(s.IsClose(action), 1);
  EXPECT_EQ(s.IsClose(action), 1);
  EXPECT_EQ(s.setFilter150Mode(), 0);  // no answer at all
}

TEST_F(ScriptedServerTest, AnOperationWithoutAnswerLeavesItsOutputsAlone) {
  ScriptedServer scripted(Json::object());
  Server& s = scripted.server();
  int mode = 2;
  unsigned char m150 = 3, hide = 4;
  QEMConfig::MultiCOFilter* filter = nullptr;
  EXPECT_EQ(s.getFilter(Node{}, filter, mode, m150, hide), 0);
  EXPECT_EQ(filter, nullptr);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(m150, 3);
  EXPECT_EQ(hide, 4);
  EXPECT_TRUE(s.GetDataDomain().IsEmpty());
  EXPECT_TRUE(s.GetRootDesktop().IsNull());
  EXPECT_EQ(s.GetAppObjectByUUID({}), nullptr);
  EXPECT_FALSE(s.ApplicationXNode(nullptr));
}

TEST_F(ScriptedServerTest, HandlesOfferTheInterfacesOfTheirKind) {
  ScriptedServer scripted(Json::parse(R"({
    "IsECOMod": {"status": 0, "out": [true]},
    "RetrieveActionFromModif": {"out": [true]},
    "getCV": {"out": [true]},
    "GetConfigHandler": {"value": true},
    "GetRootDesktop": {"value": true},
    "GetFactoryObjectByUUID": [{"value": "modification"}, {"value": "object"}, {"value": null}],
    "GetAppObjectByUUID": {"value": true},
    "ApplicationXNode": {"value": true},
    "GetOrbixXNode": {"value": {"Name": "X", "Nodes": [{"UUID": "01"}]}},
    "GetDataDomain": {"value": "CONFIG"}
  })"));
  Server& s = scripted.server();
  ZORICfgModification_var modification;
  s.IsECOMod(modification);
  EXPECT_FALSE(modification.IsNull());
  EXPECT_FALSE(ZORIQemFactoryObject_var(modification.object()).IsNull());
  ZORIQemAFLAction_var action;
  s.RetrieveActionFromModif(modification, action);
  EXPECT_FALSE(action.IsNull());
  EXPECT_TRUE(ZORICfgModification_var(action.object()).IsNull());
  ZORIConfigurableObject_var configurable;
  s.getCV(ZORIQemFactoryObject_var(modification.object()), configurable);
  EXPECT_FALSE(configurable.IsNull());
  ZORIConfigHandler_var handler = s.GetConfigHandler(configurable, "id", "1");
  EXPECT_FALSE(handler.IsNull());
  EXPECT_FALSE(ZORIQemFactoryObject_var(handler.object()).IsNull());
  EXPECT_FALSE(s.GetRootDesktop().IsNull());

  EXPECT_FALSE(ZORICfgModification_var(s.GetFactoryObjectByUUID({})).IsNull());
  ZORBaseUnknown_var plain = s.GetFactoryObjectByUUID({});
  EXPECT_FALSE(ZORIQemFactoryObject_var(plain).IsNull());
  EXPECT_TRUE(ZORICfgModification_var(plain).IsNull());
  EXPECT_TRUE(s.GetFactoryObjectByUUID({}).IsNull());

  ApplicationObject* app = s.GetAppObjectByUUID({});
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(s.ApplicationXNode(app));
  std::unique_ptr<XNode> view(s.GetOrbixXNode(app, 0, 0));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Nodes[0].UUID, _SEQUENCE_octet{0x01});
  EXPECT_EQ(s.GetDataDomain(), "CONFIG");
  EXPECT_EQ(scripted.calls()[2]["args"], Json::parse("[true, null]"));  // getCV: object, configurable
}

TEST_F(ScriptedServerTest, AThrowAnswerThrowsTheServersExceptionAfterRecording) {
  ScriptedServer scripted(Json::parse(R"({"PushEnvironment": {"throw": "no environment"}})"));
  try {
    scripted.server().PushEnvironment("CONFIG");
    FAIL() << "no exception";
  } catch (const QEM_ErrorManager::QEMServerException& e) {
    EXPECT_STREQ(e.what(), "no environment");
  }
  EXPECT_EQ(scripted.calls(), Json::parse(R"([{"op": "PushEnvironment", "args": ["CONFIG"]}])"));
}

TEST_F(ScriptedServerTest, MalformedAnswersAreErrorsOfTheCaseNamingTheMember) {
  EXPECT_EQ(caseError(Json::parse(R"({"getFoo": {}})")),
            "server.getFoo: the server has no operation of that name");
  EXPECT_EQ(caseError(Json::parse(R"({"getCHList": {"status": 0, "out": [null, null]}})")),
            "server.getCHList.out: the operation has 1 output, 2 given");
  EXPECT_EQ(caseError(Json::parse(R"({"getCHList": [{}, {"out": [[{"Nodes": [{"UUID": "xy"}]}]]}]})")),
            "server.getCHList[1].out[0][0].Nodes[0].UUID: expected a hex string");
  EXPECT_EQ(caseError(Json::parse(R"({"getCHList": {"value": true}})"))
                .rfind("server.getCHList.value: unknown member", 0),
            0u);
  EXPECT_EQ(caseError(Json::parse(R"({"GetDataDomain": {"status": 0}})"))
                .rfind("server.GetDataDomain.status: unknown", 0),
            0u);
  EXPECT_EQ(caseError(Json::parse(R"({"GetFactoryObjectByUUID": {"value": "desktop"}})")),
            "server.GetFactoryObjectByUUID.value: expected \"modification\", \"object\" or null");
  EXPECT_EQ(caseError(Json::parse(R"({"IsECOMod": {"out": ["yes"]}})")),
            "server.IsECOMod.out[0]: expected true or null");
  EXPECT_EQ(caseError(Json::parse(R"({"isIWAppSet": {"throw": "x", "status": 1}})"))
                .rfind("server.isIWAppSet.status", 0),
            0u);
  EXPECT_EQ(caseError(Json::parse(R"({"isIWAppSet": 1})")),
            "server.isIWAppSet: expected an answer object or an array of them");
  EXPECT_EQ(caseError(Json::parse(R"({"getFilter": {"out": [null, 1, 256]}})")),
            "server.getFilter.out[2]: expected an integer from 0 to 255");
}

}  // namespace
}  // namespace oks::host
