// The component framework as the object modeler and a host see it: late types, meta objects,
// adapters, factories, reference counting, constructor and destructor traces, unit statics and
// allocation faults; and the environment bracket the commands work in.
#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

#include "tests/unit/library_fixture.h"
#include <oks/framework/helpers.h>
#include <oks/service/server.h>

namespace oks::test {
namespace {

using Factory = ZORBaseUnknown* (*)(ZORBaseUnknown*, ZORBaseUnknown*);

// The commands whose destructor traces its step.
const char* const kTracedDestructors =
    "addApplicability addCH addProdSpec createFilterVersion displayAllFilterVersions getAllEffectivities "
    "displayPtSpecApplicability getCHByName getCHFilter getCvUuid getFilter getMileStoneValues getPSFilter "
    "getProdSpec getPtApplicability getSpecApplicability isEffectivityDefined isPUE propagateEffectivity "
    "setFilter setProdSpec setPtApplicability setSpecApplicability ";

using FrameworkTest = LibraryTest;

TEST_F(FrameworkTest, LateTypesFollowTheClassNameWithThreeExceptions) {
  const std::map<std::string, std::string> renamed = {{"addProdSpec", "OKS_addProdSpec1"},
                                                      {"getConfigChildren", "OKS_getChildren"},
                                                      {"getModInfo", "OKS_getCrapola"}};
  auto classes = registeredClasses();
  ASSERT_EQ(classes.size(), 64u);
  for (const auto* meta : classes) {
    std::string name = meta->ClassName();
    EXPECT_EQ(meta->LateType(), renamed.contains(name) ? renamed.at(name) : "OKS_" + name);
  }
  for (const auto& [name, lateType] : renamed)
    EXPECT_EQ(findLateType(("OKS_" + name).c_str()), nullptr) << name;
}

TEST_F(FrameworkTest, ACommandAnswersWithItsClassNameNotItsLateType) {
  MIROIBaseCommand* adapter = create("OKS_getChildren");
  ASSERT_NE(adapter, nullptr);
  ZORBaseUnknown* command = adapter->GetImpl(1);
  ASSERT_NE(command, adapter);
  EXPECT_STREQ(command->IsA(), "getConfigChildren");
  EXPECT_STREQ(command->GetMetaObject()->ClassName(), "getConfigChildren");
  EXPECT_TRUE(command->IsAKindOf("ZORBaseUnknown"));
  EXPECT_FALSE(command->IsAKindOf("getCHList"));
  EXPECT_EQ(adapter->GetMetaObject()->TypeOfClass(), 7);
  EXPECT_EQ(command->GetMetaObject()->TypeOfClass(), 2);
  adapter->Release();
}

// A command, its adapter and a streamer each give themselves, with a reference more, for IUnknown
// and their own interface, and nothing for another.
TEST_F(FrameworkTest, QueryInterfaceGivesOnlyWhatAnObjectImplements) {
  MIROIBaseCommand* adapter = create("OKS_getCHList");
  ASSERT_NE(adapter, nullptr);
  ZORBaseUnknown* streamers = new ZORObject("StringStreamerLT", nullptr);
  MIROIStreamable* streamer = nullptr;
  ASSERT_EQ(streamers->QueryInterface(IID_MIROIStreamable, reinterpret_cast<void**>(&streamer)), S_OK);
  streamers->Release();
  const std::tuple<ZORBaseUnknown*, const _GUID*, HRESULT> table[] = {
      {adapter, &IID_IUnknown, S_OK},
      {adapter, &IID_MIROIBaseCommand, S_OK},
      {adapter, &IID_MIROIStreamable, E_NOINTERFACE},
      {adapter->GetImpl(1), &IID_IUnknown, S_OK},
      {adapter->GetImpl(1), &IID_MIROIStreamable, E_NOINTERFACE},
      {streamer, &IID_IUnknown, S_OK},
      {streamer, &IID_MIROIBaseCommand, E_NOINTERFACE}};
  for (const auto& [object, iid, status] : table) {
    unsigned long held = object->AddRef() - 1;
    object->Release();
    void* out = nullptr;
    EXPECT_EQ(object->QueryInterface(*iid, &out), status);
    EXPECT_EQ(out, status == S_OK ? static_cast<void*>(object) : nullptr);
    EXPECT_EQ(out ? object->Release() : held, held);
  }
  streamer->Release();
  adapter->Release();
}

TEST_F(FrameworkTest, TheFactoryReusesTheAdapterLinkedToACommandObject) {
  auto factory = reinterpret_cast<Factory>(library_->symbol("CreateTIEMIROIBaseCommandgetCHList"));
  ASSERT_NE(factory, nullptr);
  ZORBaseUnknown* command = findLateType("OKS_getCHList")->Creator()();
  ASSERT_NE(command, nullptr);
  ZORBaseUnknown* first = factory(command, nullptr);
  ZORBaseUnknown* second = factory(command, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(factory(nullptr, nullptr), nullptr);
  second->Release();
  first->Release();
  command->Release();
}

// Each command: its constructor's step; the adapter deleted at its last release, and only the
// declared destructors tracing theirs.
TEST_F(FrameworkTest, ConstructorsTraceOneStepAndOnlyTheDeclaredDestructorsTrace) {
  std::set<std::string> traced, expected;
  for (std::string rest = kTracedDestructors; !rest.empty(); rest.erase(0, rest.find(' ') + 1))
    expected.insert(rest.substr(0, rest.find(' ')));
  for (const auto* meta : registeredClasses()) {
    std::string name = meta->ClassName();
    TraceCapture capture;
    ScopedTraceSink sink(&capture);
    MIROIBaseCommand* adapter = create(meta->LateType());
    ASSERT_NE(adapter, nullptr) << name;
    EXPECT_EQ(texts(capture.take()),
              (std::vector<std::string>{"+" + name + "::constructor", "-" + name + "::constructor"}));
    EXPECT_EQ(adapter->AddRef(), 2u);
    EXPECT_EQ(adapter->Release(), 1u);
    EXPECT_TRUE(capture.take().empty());
    EXPECT_EQ(adapter->Release(), 0u);
    auto lines = texts(capture.take());
    if (!lines.empty()) {
      EXPECT_EQ(lines, (std::vector<std::string>{"+" + name + "::destructor", "-" + name + "::destructor"}));
      traced.insert(name);
    }
  }
  EXPECT_EQ(traced, expected);
}

TEST_F(FrameworkTest, ExecuteRunsTheCommandThroughItsAdapter) {
  TraceCapture capture;
  ScopedTraceSink sink(&capture);
  for (const char* stub : {"OKS_addApplicability", "OKS_getCvUuid"}) {
    MIROIBaseCommand* adapter = create(stub);
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->SetParameter("Param0", 3), S_OK);
    int value = 0;
    EXPECT_EQ(adapter->GetParameter("Param0", value), S_OK);
    EXPECT_EQ(value, 3);
    capture.take();
    EXPECT_EQ(adapter->Execute(), E_FAIL);
    auto lines = texts(capture.take());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "+" + std::string(stub + 4) + "::AppExecute");
    adapter->Release();
  }
}

// The adapter's meta object is made on the next try after a failure.
TEST_F(FrameworkTest, AllocationFaultsGiveNullAndTheNextTryWorks) {
  for (auto [kind, lateType] :
       {std::pair{AllocKind::Command, "OKS_addCH"}, std::pair{AllocKind::Adapter, "OKS_addCH"},
        std::pair{AllocKind::AdapterMeta, "OKS_getFilter"}}) {
    FaultPlan plan;
    plan.alloc[kind] = {1};
    setFaults(plan);
    HRESULT status = S_OK;
    EXPECT_EQ(create(lateType, &status), nullptr) << lateType;
    EXPECT_TRUE(FAILED(status));
    MIROIBaseCommand* second = create(lateType);
    ASSERT_NE(second, nullptr);
    second->Release();
  }
}

// Only the 64 factories are exported, under their plain names.
TEST_F(FrameworkTest, TheLibraryExportsExactlyTheFactories) {
  std::string command = std::string("nm -D --defined-only ") + OKS_LIBRARY_PATH;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    char type = 0;
    char name[400] = {};
    if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && (type == 'T' || type == 'W' || type == 'D'))
      exported.insert(name);
  }
  pclose(pipe);
  std::set<std::string> expected;
  for (const auto* meta : registeredClasses())
    expected.insert(std::string("CreateTIEMIROIBaseCommand") + meta->ClassName());
  EXPECT_EQ(exported, expected);
}

// A root desktop that records its environment operations, and a data domain.
class DesktopServer : public Server {
 public:
  ZORUnicodeString domain = "DOM";
  bool throwOnClose = false;
  std::vector<std::string> operations;

  ZORUnicodeString GetDataDomain() override { return domain; }
  ZORIRootDesktop_var GetRootDesktop() override {
    return ZORIRootDesktop_var(makeServerObject(ServerObject::Desktop, "desktop"));
  }
  HRESULT PushEnvironment(const ZORUnicodeString& environment) override {
    operations.push_back("push " + environment.str());
    return S_OK;
  }
  HRESULT PopEnvironment() override {
    operations.push_back("pop");
    if (throwOnClose) throw std::runtime_error("closing");
    return S_OK;
  }
};

class EnvironmentBracketTest : public ::testing::Test {
 protected:
  DesktopServer server_;
  ScopedServer installed_{&server_};
  ZORQemTrace trace_{"T", "T", "STDOUT", 1024, static_cast<ZORTraMode>(0)};
};

// A normal exit closes what was selected, once; the data domain "-" selects nothing.
TEST_F(EnvironmentBracketTest, ANormalExitClosesWhatWasSelectedOnce) {
  { EnvironmentBracket environment; }
  {
    EnvironmentBracket environment;
    environment.push("CONFIG");
  }
  {
    EnvironmentBracket environment;
    environment.push("EXPLICIT");
    environment.close();
  }
  for (const char* domain : {"-", "DOM"}) {
    server_.domain = domain;
    EnvironmentBracket environment;
    if (*domain == '-') environment.closeOnExit(true);  // even so, nothing was selected to close
    environment.selectDataDomain(trace_, " environment.");
  }
  EXPECT_EQ(server_.operations,
            (std::vector<std::string>{"push CONFIG", "pop", "push EXPLICIT", "pop", "push DOM", "pop"}));
}

// An exception passing leaves the environment open, unless it started before the bracket was made
// (a command run from a destructor while another exception unwinds); a desktop that throws while
// closing passes it on.
TEST_F(EnvironmentBracketTest, ExceptionsLeaveOpenOnlyWhatTheyPassed) {
  struct RunsACommandWhenDestroyed {
    ~RunsACommandWhenDestroyed() {
      EnvironmentBracket environment;
      environment.push("CLEANUP");
    }
  };
  EXPECT_THROW(
      {
        RunsACommandWhenDestroyed guard;
        EnvironmentBracket environment;
        environment.push("CONFIG");
        throw std::runtime_error("service");
      },
      std::runtime_error);
  EXPECT_EQ(server_.operations, (std::vector<std::string>{"push CONFIG", "push CLEANUP", "pop"}));
  server_.throwOnClose = true;
  EXPECT_THROW(
      {
        EnvironmentBracket environment;
        environment.push("CONFIG");
      },
      std::runtime_error);
}

}  // namespace
}  // namespace oks::test
