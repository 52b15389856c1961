#include <map>
#include <type_traits>

#include <oks/host/cases/scripted_server.h>
#include <oks/host/server_operations.h>
#include <oks/platform/session.h>
#include <oks/types/config.h>

namespace oks::host {
namespace {

Json handleJson(bool present) { return present ? Json(true) : Json(nullptr); }

void checkHandle(const Json& j, const std::string& path) {
  if (!j.is_null() && !(j.is_boolean() && j.get<bool>())) throw CaseError(path, "expected true or null");
}

// The interfaces a handle made for an interface offers.
template <class I>
constexpr unsigned maskOf() {
  using S = ServerObject;
  if constexpr (std::is_same_v<I, ZORICfgModification>) return S::FactoryObject | S::Modification;
  if constexpr (std::is_same_v<I, ZORIQemAFLAction>) return S::Action;
  if constexpr (std::is_same_v<I, ZORIConfigurableObject>) return S::ConfigurableObject;
  if constexpr (std::is_same_v<I, ZORIConfigHandler>) return S::ConfigHandler | S::FactoryObject;
  if constexpr (std::is_same_v<I, ZORIRootDesktop>) return S::Desktop;
  if constexpr (std::is_same_v<I, ZORIQemFactoryObject>) return S::FactoryObject;
  return 0;
}

template <class I>
ZORInterfaceVar<I> makeHandle(const Json& j, const std::string& identity) {
  if (j.is_null()) return {};
  return ZORInterfaceVar<I>(makeServerObject(maskOf<I>(), identity));
}

// How the server treats one parameter, by its declared type: whether its value on entry is
// recorded, whether the answer's "out" sets it, and how. By default a parameter is an input
// passed by value.
template <class P>
struct Arg {
  static constexpr bool recorded = true, output = false;
  static Json entry(const P& value) { return toJson(value); }
};
template <class T>
struct Arg<const T&> {
  static constexpr bool recorded = true, output = false;
  static Json entry(const T& value) { return toJson(value); }
};
// In/out by reference: the answer replaces the value; null leaves it as the command set it.
template <class T>
struct Arg<T&> {
  static constexpr bool recorded = true, output = true;
  static Json entry(const T& value) { return toJson(value); }
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null()) decodeAs<T>(j, path);
  }
  static void apply(T& value, const Json& j, const std::string& path, const std::string&) {
    if (!j.is_null()) fromJson(j, value, path);
  }
};
// Output pointer: recorded as null or true (set); the answer points it at a new record or null.
template <class T>
struct Arg<T*&> {
  static constexpr bool recorded = true, output = true;
  static Json entry(const T* p) { return handleJson(p != nullptr); }
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null()) decodeAs<T>(j, path);
  }
  static void apply(T*& p, const Json& j, const std::string& path, const std::string&) {
    p = j.is_null() ? nullptr : new T(decodeAs<T>(j, path));
  }
};
template <class T>
struct Arg<const T*> {
  static constexpr bool recorded = true, output = false;
  static Json entry(const T* p) { return p ? toJson(*p) : Json(nullptr); }
};
// A record the command lends through a pointer for the server to fill.
template <class T>
struct Arg<T*> {
  static constexpr bool recorded = true, output = true;
  static Json entry(const T* p) { return p ? toJson(*p) : Json(nullptr); }
  static void check(const Json& j, const std::string& path) { decodeAs<T>(j, path); }
  static void apply(T* p, const Json& j, const std::string& path, const std::string&) {
    if (p) fromJson(j, *p, path);
  }
};
template <>
struct Arg<const char*> {
  static constexpr bool recorded = true, output = false;
  static Json entry(const char* text) { return text ? Json(text) : Json(nullptr); }
};
template <>
struct Arg<ApplicationObject*> {
  static constexpr bool recorded = true, output = false;
  static Json entry(const ApplicationObject* object) { return handleJson(object != nullptr); }
};
// The object an operation is called on is not listed.
template <>
struct Arg<const ServerObject&> {
  static constexpr bool recorded = false, output = false;
};
template <>
struct Arg<CORBA::Environment&> {
  static constexpr bool recorded = true, output = false;
  static Json entry(const CORBA::Environment&) { return nullptr; }
};
template <class I>
struct Arg<const ZORInterfaceVar<I>&> {
  static constexpr bool recorded = true, output = false;
  static Json entry(const ZORInterfaceVar<I>& h) { return handleJson(!h.IsNull()); }
};
template <class I>
struct Arg<ZORInterfaceVar<I>&> {
  static constexpr bool recorded = true, output = true;
  static Json entry(const ZORInterfaceVar<I>& h) { return handleJson(!h.IsNull()); }
  static void check(const Json& j, const std::string& path) { checkHandle(j, path); }
  static void apply(ZORInterfaceVar<I>& h, const Json& j, const std::string&, const std::string& identity) {
    h = makeHandle<I>(j, identity);
  }
};

// What a value-returning operation answers for its "value".
template <class R>
struct Ret;
template <class I>
struct Ret<ZORInterfaceVar<I>> {
  static void check(const Json& j, const std::string& path) { checkHandle(j, path); }
  static ZORInterfaceVar<I> make(const Json& j, const std::string&, const std::string& identity) {
    return makeHandle<I>(j, identity);
  }
};
// A factory object: with the modification interface, without it, or none.
template <>
struct Ret<ZORBaseUnknown_var> {
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null() && j != "modification" && j != "object")
      throw CaseError(path, "expected \"modification\", \"object\" or null");
  }
  static ZORBaseUnknown_var make(const Json& j, const std::string&, const std::string& identity) {
    if (j.is_null()) return {};
    unsigned mask = ServerObject::FactoryObject | (j == "modification" ? ServerObject::Modification : 0u);
    return makeServerObject(mask, identity);
  }
};
template <>
struct Ret<ApplicationObject*> {
  static void check(const Json& j, const std::string& path) { checkHandle(j, path); }
  static ApplicationObject* make(const Json& j, const std::string&, const std::string& identity) {
    return j.is_null() ? nullptr : makeApplicationObject(identity);
  }
};
template <>
struct Ret<bool> {
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null() && !j.is_boolean()) throw CaseError(path, "expected true, false or null");
  }
  static bool make(const Json& j, const std::string&, const std::string&) {
    return j.is_boolean() && j.get<bool>();
  }
};
template <>
struct Ret<XNode*> {
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null()) decodeAs<XNode>(j, path);
  }
  static XNode* make(const Json& j, const std::string& path, const std::string&) {
    return j.is_null() ? nullptr : new XNode(decodeAs<XNode>(j, path));
  }
};
template <>
struct Ret<ZORUnicodeString> {
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null()) decodeAs<ZORUnicodeString>(j, path);
  }
  static ZORUnicodeString make(const Json& j, const std::string& path, const std::string&) {
    return j.is_null() ? ZORUnicodeString() : decodeAs<ZORUnicodeString>(j, path);
  }
};

// One answer of an operation of signature F.
template <class F>
struct Signature;
template <class R, class... P>
struct Signature<R (Server::*)(P...)> {
  static constexpr bool returnsStatus = std::is_same_v<R, HRESULT>;
  static constexpr std::size_t outputs = (std::size_t{0} + ... + (Arg<P>::output ? 1 : 0));

  static void check(const Json& answer, const std::string& path) {
    if (answer.contains("throw")) {
      expectMembers(answer, {"throw"}, path);
      decodeAs<std::string>(answer["throw"], memberPath(path, "throw"));
      return;
    }
    if constexpr (returnsStatus) {
      expectMembers(answer, {"status", "out", "throw"}, path);
      if (answer.contains("status")) decodeAs<HRESULT>(answer["status"], memberPath(path, "status"));
      if (auto out = answer.find("out"); out != answer.end()) {
        std::string outPath = memberPath(path, "out");
        expectArray(*out, outPath);
        if (out->size() > outputs)
          throw CaseError(outPath, "the operation has " + std::to_string(outputs) + " output" +
                                       (outputs == 1 ? "" : "s") + ", " + std::to_string(out->size()) +
                                       " given");
        [[maybe_unused]] std::size_t k = 0;
        (
            [&] {
              if constexpr (Arg<P>::output) {
                if (k < out->size()) Arg<P>::check((*out)[k], indexPath(outPath, k));
                ++k;
              }
            }(),
            ...);
      }
    } else {
      expectMembers(answer, {"value", "throw"}, path);
      if (answer.contains("value")) Ret<R>::check(answer["value"], memberPath(path, "value"));
    }
  }
};

using Checker = void (*)(const Json&, const std::string&);

const std::map<std::string, Checker>& checkers() {
#define OKS_CHECKER(Op) {#Op, &Signature<decltype(&Server::Op)>::check},
  static const std::map<std::string, Checker> table = {OKS_SERVER_OPERATIONS(OKS_CHECKER)};
#undef OKS_CHECKER
  return table;
}

}  // namespace

// Every operation records its call, then answers from the script.
#define OKS_ANSWER(Op, ...) this->template answer<0>(&Server::Op, #Op __VA_OPT__(, ) __VA_ARGS__)
// An operation called on an object: the object is not listed.
#define OKS_ANSWER_ON_OBJECT(Op, ...) this->template answer<1>(&Server::Op, #Op __VA_OPT__(, ) __VA_ARGS__)

class ScriptedServer::Scripted : public Server {
 public:
  explicit Scripted(const Json& answers) : answers_(answers) {}

  const Json& calls() const { return calls_; }

  HRESULT addCO(const XNodeSeq& in, XNodeSeq*& out) override { return OKS_ANSWER(addCO, in, out); }
  HRESULT addProductType1(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(addProductType1, in, out);
  }
  HRESULT deleteProductType1(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(deleteProductType1, in, out);
  }
  HRESULT displayAllFilterVersions(const XNode& in, XNodeSeq*& out) override {
    return OKS_ANSWER(displayAllFilterVersions, in, out);
  }
  HRESULT getCHList(const XNodeSeq& in, XNodeSeq*& out) override { return OKS_ANSWER(getCHList, in, out); }
  HRESULT getCVFromPRC(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(getCVFromPRC, in, out);
  }
  HRESULT getCVListFromProductType(const Node& in, NodeSeq*& out) override {
    return OKS_ANSWER(getCVListFromProductType, in, out);
  }
  HRESULT getChildren(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(getChildren, in, out);
  }
  HRESULT getConfigTree(const Node& in, NodeSeq*& out) override { return OKS_ANSWER(getConfigTree, in, out); }
  HRESULT getPCSpecTree2(const NodeSeq& in, NodeSeq*& out) override {
    return OKS_ANSWER(getPCSpecTree2, in, out);
  }
  HRESULT getPRCAndCVFromCH(const Node& in, NodeSeq*& out) override {
    return OKS_ANSWER(getPRCAndCVFromCH, in, out);
  }
  HRESULT getPRCAndCVFromPS(const Node& in, NodeSeq*& out) override {
    return OKS_ANSWER(getPRCAndCVFromPS, in, out);
  }
  HRESULT getPRCFromCV(const Node& in, Node*& out) override { return OKS_ANSWER(getPRCFromCV, in, out); }
  HRESULT getPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(getPtAuthorizedSpecs, in, out);
  }
  HRESULT getPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(getPtTypedefSpecs, in, out);
  }
  HRESULT getVSChildren(const XNode& in, XNodeSeq*& out) override {
    return OKS_ANSWER(getVSChildren, in, out);
  }
  HRESULT setPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(setPtAuthorizedSpecs, in, out);
  }
  HRESULT setPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out) override {
    return OKS_ANSWER(setPtTypedefSpecs, in, out);
  }
  HRESULT addCV(const XNode& param0, XNode& param1) override { return OKS_ANSWER(addCV, param0, param1); }
  HRESULT deleteModification(_IDL_SEQUENCE_octet uuid) override {
    return OKS_ANSWER(deleteModification, uuid);
  }
  HRESULT deletePS(const Node& node) override { return OKS_ANSWER(deletePS, node); }
  HRESULT deleteProductType(const Node& node) override { return OKS_ANSWER(deleteProductType, node); }
  HRESULT resetFilter(const Node& node) override { return OKS_ANSWER(resetFilter, node); }
  HRESULT setFilter150Mode() override { return OKS_ANSWER(setFilter150Mode); }
  HRESULT unsetFilter150Mode() override { return OKS_ANSWER(unsetFilter150Mode); }
  HRESULT validatePTSpecs(const XNode& node) override { return OKS_ANSWER(validatePTSpecs, node); }
  HRESULT getCHNames(const Node& param0, const Node& param1, ZORListValZORUnicodeString& names) override {
    return OKS_ANSWER(getCHNames, param0, param1, names);
  }
  HRESULT getAllEffectivities(const Node& param0, const Node& param1,
                              QEMConfig::NormalValueSeq* values) override {
    return OKS_ANSWER(getAllEffectivities, param0, param1, values);
  }
  HRESULT getProdSpec(const XNode& owner, NodeSeq*& specs, QEMConfig::NormalValueSeq*& values,
                      ZORUnicodeString& firstText, const QEMConfig::NormalValueSeq& inputValues,
                      const ZORUnicodeString& domain, unsigned char& hideUnsolvedMode,
                      QEMConfig::MultiCOFilter*& filter, AttributeFilters*& criteria,
                      ZORUnicodeString& secondText, unsigned char& caseSensitive) override {
    return OKS_ANSWER(getProdSpec, owner, specs, values, firstText, inputValues, domain, hideUnsolvedMode,
                      filter, criteria, secondText, caseSensitive);
  }
  HRESULT addProdSpec(const XNode& first, const XNode& second, const ZORUnicodeString& version,
                      const NodeSeq& specs, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& param5, XNode*& created, const unsigned char flag) override {
    return OKS_ANSWER(addProdSpec, first, second, version, specs, values, param5, created, flag);
  }
  HRESULT setProdSpec(const XNode& owner, const NodeSeq& specs, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& domain, const unsigned char hideUnsolvedMode,
                      const QEMConfig::MultiCOFilter& filter, const AttributeFilters* criteria,
                      const unsigned char caseSensitive, const ZORUnicodeString& criteriaType) override {
    return OKS_ANSWER(setProdSpec, owner, specs, values, domain, hideUnsolvedMode, filter, criteria,
                      caseSensitive, criteriaType);
  }
  HRESULT filterSpecs(const Node& object, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& domain, const int& specOnly, const NodeSeq& tree,
                      NodeSeq*& filtered) override {
    return OKS_ANSWER(filterSpecs, object, values, domain, specOnly, tree, filtered);
  }
  HRESULT rbcValidate(const Node& object, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& domain, NodeSeq& specs, Node*& outcome) override {
    return OKS_ANSWER(rbcValidate, object, values, domain, specs, outcome);
  }
  HRESULT addCOProdSpec(const XNodeSeq& sources, int carryOver, XNode*& created) override {
    return OKS_ANSWER(addCOProdSpec, sources, carryOver, created);
  }
  HRESULT addSupportedProdSpec(const XNodeSeq& sources, XNode*& created) override {
    return OKS_ANSWER(addSupportedProdSpec, sources, created);
  }
  HRESULT carryOverPSExists(const XNodeSeq& nodes, unsigned char& exists) override {
    return OKS_ANSWER(carryOverPSExists, nodes, exists);
  }
  HRESULT initSpecs(const Node& configurable, const NodeSeq& selected, NodeSeq*& specs) override {
    return OKS_ANSWER(initSpecs, configurable, selected, specs);
  }
  HRESULT verifySpecs(const Node& configurable, const NodeSeq& selected, const NodeSeq& selectedSpecs,
                      Node*& outcome) override {
    return OKS_ANSWER(verifySpecs, configurable, selected, selectedSpecs, outcome);
  }
  HRESULT addCH(const Node& first, const Node& second, const QEMConfig::MultiCOFilter& filter,
                const ZORUnicodeString& id, const ZORUnicodeString& description, const ZORUnicodeString& mode,
                const int& filterMode, const unsigned char& filter150Mode,
                const unsigned char& hideUnsolvedMode, const ZORUnicodeString& criterionType,
                const unsigned char caseSensitive, const AttributeFilters* attributeFilters,
                XNode*& handler) override {
    return OKS_ANSWER(addCH, first, second, filter, id, description, mode, filterMode, filter150Mode,
                      hideUnsolvedMode, criterionType, caseSensitive, attributeFilters, handler);
  }
  HRESULT getCHFilter(const Node& first, const Node& second, const ZORUnicodeString& name,
                      QEMConfig::MultiCOFilter*& filter, int& filterMode, unsigned char& filter150Mode,
                      unsigned char& hideUnsolvedMode, ObjectQueries*& queries,
                      AttributeFilters*& attributeFilters, ZORUnicodeString& criterionType,
                      unsigned char& caseSensitive) override {
    return OKS_ANSWER(getCHFilter, first, second, name, filter, filterMode, filter150Mode, hideUnsolvedMode,
                      queries, attributeFilters, criterionType, caseSensitive);
  }
  HRESULT setFilter(const Node& node, const QEMConfig::MultiCOFilter& filter, const int& filterMode,
                    const unsigned char& filter150Mode, const unsigned char& hideUnsolvedMode) override {
    return OKS_ANSWER(setFilter, node, filter, filterMode, filter150Mode, hideUnsolvedMode);
  }
  HRESULT getFilter(const Node& node, QEMConfig::MultiCOFilter*& filter, int& filterMode,
                    unsigned char& filter150Mode, unsigned char& hideUnsolvedMode) override {
    return OKS_ANSWER(getFilter, node, filter, filterMode, filter150Mode, hideUnsolvedMode);
  }
  HRESULT getPSFilter(const Node& node, QEMConfig::MultiCOFilter*& filter) override {
    return OKS_ANSWER(getPSFilter, node, filter);
  }
  HRESULT createFilterVersion(const XNode& handler, XNode*& version) override {
    return OKS_ANSWER(createFilterVersion, handler, version);
  }
  HRESULT deleteCH(const Node& first, const Node& second, const ZORUnicodeString& name) override {
    return OKS_ANSWER(deleteCH, first, second, name);
  }
  HRESULT deleteCO(const Node& node, const ZORUnicodeString& name) override {
    return OKS_ANSWER(deleteCO, node, name);
  }
  HRESULT isPUE(const XNode& node, const ZORUnicodeString& text,
                ZORListValZORUnicodeString& answer) override {
    return OKS_ANSWER(isPUE, node, text, answer);
  }
  HRESULT propagateEffectivity(const XNode& node, const QEMConfig::MultiCOFilter& filter,
                               const int filterMode, const int filter150Mode) override {
    return OKS_ANSWER(propagateEffectivity, node, filter, filterMode, filter150Mode);
  }
  HRESULT getMileStoneValues(const Node& node, QEMConfig::MileStoneValueSeq*& milestones) override {
    return OKS_ANSWER(getMileStoneValues, node, milestones);
  }
  HRESULT getPCSpecTree(const Node& node, const QEMConfig::NormalValueSeq& values,
                        const ZORUnicodeString& domain, NodeSeq*& nodes) override {
    return OKS_ANSWER(getPCSpecTree, node, values, domain, nodes);
  }
  HRESULT isCarryOver(const XNode& node, unsigned char& carryOver) override {
    return OKS_ANSWER(isCarryOver, node, carryOver);
  }
  HRESULT isEffectivityDefined(unsigned char& defined, const XNodeSeq& nodes) override {
    return OKS_ANSWER(isEffectivityDefined, defined, nodes);
  }
  HRESULT getPtApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                             const XNodeSeq& nodes) override {
    return OKS_ANSWER(getPtApplicability, applicabilities, nodes);
  }
  HRESULT getSpecApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                               const XNodeSeq& nodes) override {
    return OKS_ANSWER(getSpecApplicability, applicabilities, nodes);
  }
  HRESULT setPtApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                             const XNodeSeq& nodes) override {
    return OKS_ANSWER(setPtApplicability, applicabilities, nodes);
  }
  HRESULT setSpecApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                               const XNodeSeq& nodes) override {
    return OKS_ANSWER(setSpecApplicability, applicabilities, nodes);
  }
  HRESULT displayPtSpecEffectivity(const XNodeSeq& nodes, ZORUnicodeString& description) override {
    return OKS_ANSWER(displayPtSpecEffectivity, nodes, description);
  }
  HRESULT isIWAppSet() override { return OKS_ANSWER(isIWAppSet); }
  HRESULT IsECOMod(ZORICfgModification_var& modification) override {
    return OKS_ANSWER(IsECOMod, modification);
  }
  HRESULT RetrieveModOwner(const ZORICfgModification_var& modification,
                           ZORListValZORUnicodeString& owner) override {
    return OKS_ANSWER(RetrieveModOwner, modification, owner);
  }
  HRESULT RetrieveActionFromModif(const ZORICfgModification_var& modification,
                                  ZORIQemAFLAction_var& action) override {
    return OKS_ANSWER(RetrieveActionFromModif, modification, action);
  }
  HRESULT ExtendEffectivity(const XNodeSeq& nodes, const _SEQUENCE_octet* uuid) override {
    return OKS_ANSWER(ExtendEffectivity, nodes, uuid);
  }
  HRESULT setValuesOnObject(const ZORIQemFactoryObject_var& object, const XNode& values,
                            const ZORUnicodeString& mask, CORBA::Environment& environment) override {
    return OKS_ANSWER(setValuesOnObject, object, values, mask, environment);
  }
  HRESULT getCV(const ZORIQemFactoryObject_var& object, ZORIConfigurableObject_var& configurable) override {
    return OKS_ANSWER(getCV, object, configurable);
  }
  HRESULT getCHNameVersion(const ZORIConfigurableObject_var& configurable, const ZORUnicodeString& name,
                           ZORUnicodeString& id, ZORUnicodeString& version) override {
    return OKS_ANSWER(getCHNameVersion, configurable, name, id, version);
  }
  ZORIConfigHandler_var GetConfigHandler(const ZORIConfigurableObject_var& configurable,
                                         const ZORUnicodeString& id,
                                         const ZORUnicodeString& version) override {
    return OKS_ANSWER(GetConfigHandler, configurable, id, version);
  }
  ZORBaseUnknown_var GetFactoryObjectByUUID(const _SEQUENCE_octet& uuid) override {
    return OKS_ANSWER(GetFactoryObjectByUUID, uuid);
  }
  ApplicationObject* GetAppObjectByUUID(const _SEQUENCE_octet& uuid) override {
    return OKS_ANSWER(GetAppObjectByUUID, uuid);
  }
  ApplicationObject* GetAppObjectByObject(const ZORIQemFactoryObject_var& object, const char* text) override {
    return OKS_ANSWER(GetAppObjectByObject, object, text);
  }
  bool ApplicationXNode(ApplicationObject* object) override { return OKS_ANSWER(ApplicationXNode, object); }
  XNode* GetOrbixXNode(ApplicationObject* object, short a, short b) override {
    return OKS_ANSWER_ON_OBJECT(GetOrbixXNode, object, a, b);
  }
  HRESULT SetCurrentMask(const ZORUnicodeString& mask) override { return OKS_ANSWER(SetCurrentMask, mask); }
  ZORUnicodeString GetDataDomain() override { return OKS_ANSWER(GetDataDomain); }
  ZORIRootDesktop_var GetRootDesktop() override { return OKS_ANSWER(GetRootDesktop); }
  HRESULT PushEnvironment(const ZORUnicodeString& environment) override {
    return OKS_ANSWER(PushEnvironment, environment);
  }
  HRESULT PopEnvironment() override { return OKS_ANSWER(PopEnvironment); }
  HRESULT GetParent(const ServerObject& modification, ZORICfgModification_var& parent) override {
    return OKS_ANSWER(GetParent, modification, parent);
  }
  HRESULT IsClose(const ServerObject& action) override { return OKS_ANSWER(IsClose, action); }

 private:
  // The answer for this call of the operation and its path, or null when there is none.
  const Json* next(const std::string& op, std::string& path) {
    std::size_t n = callCount_[op]++;
    path = memberPath("server", op);
    auto it = answers_.find(op);
    if (it == answers_.end()) return nullptr;
    if (!it->is_array()) return &*it;
    if (n >= it->size()) return nullptr;
    path = indexPath(path, n);
    return &(*it)[n];
  }

  template <std::size_t Skip, class R, class... P>
  R answer(R (Server::*)(P...), const char* op, std::type_identity_t<P>... a) {
    Json args = Json::array();
    [[maybe_unused]] std::size_t i = 0;
    (
        [&] {
          if constexpr (Arg<P>::recorded)
            if (i >= Skip) args.push_back(Arg<P>::entry(a));
          ++i;
        }(),
        ...);
    calls_.push_back(Json{{"op", op}, {"args", std::move(args)}});
    std::string identity = op + ("#" + std::to_string(calls_.size()));

    std::string path;
    const Json* reply = next(op, path);
    if (reply && reply->contains("throw"))
      throw QEM_ErrorManager::QEMServerException((*reply)["throw"].get<std::string>());
    if constexpr (std::is_same_v<R, HRESULT>) {
      if (!reply) return S_OK;
      if (auto out = reply->find("out"); out != reply->end()) {
        [[maybe_unused]] std::size_t k = 0;
        (
            [&] {
              if constexpr (Arg<P>::output) {
                if (k < out->size())
                  Arg<P>::apply(a, (*out)[k], indexPath(memberPath(path, "out"), k),
                                identity + "." + std::to_string(k));
                ++k;
              }
            }(),
            ...);
      }
      auto status = reply->find("status");
      return status == reply->end() ? S_OK : decodeAs<HRESULT>(*status, memberPath(path, "status"));
    } else {
      if (!reply || !reply->contains("value")) return R{};
      return Ret<R>::make((*reply)["value"], memberPath(path, "value"), identity);
    }
  }

  Json answers_;
  Json calls_ = Json::array();
  std::map<std::string, std::size_t> callCount_;
};

#undef OKS_ANSWER
#undef OKS_ANSWER_ON_OBJECT

ScriptedServer::ScriptedServer(const Json& answers) : impl_(std::make_unique<Scripted>(answers)) {}
ScriptedServer::~ScriptedServer() = default;

Server& ScriptedServer::server() { return *impl_; }
const Json& ScriptedServer::calls() const { return impl_->calls(); }

void ScriptedServer::validate(const Json& answers, const std::string& path) {
  if (!answers.is_object()) throw CaseError(path, "expected an object of operation names and answers");
  for (const auto& [op, answer] : answers.items()) validateAnswers(op, answer, memberPath(path, op));
}

void ScriptedServer::validateAnswers(const std::string& op, const Json& answers, const std::string& path) {
  auto checker = checkers().find(op);
  if (checker == checkers().end()) throw CaseError(path, "the server has no operation of that name");
  if (answers.is_array()) {
    for (std::size_t i = 0; i < answers.size(); ++i) {
      if (!answers[i].is_object()) throw CaseError(indexPath(path, i), "expected an answer object");
      checker->second(answers[i], indexPath(path, i));
    }
  } else if (answers.is_object()) {
    checker->second(answers, path);
  } else {
    throw CaseError(path, "expected an answer object or an array of them");
  }
}

std::vector<std::string> ScriptedServer::operationNames() {
  std::vector<std::string> names;
  for (const auto& [name, checker] : checkers()) names.push_back(name);
  return names;
}

}  // namespace oks::host
