#include <map>
#include <type_traits>

#include <oks/host/cases/scripted_server.h>
#include <oks/service/session.h>
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

// How the server treats one parameter, by its declared type: how its value on entry is
// recorded, whether the answer's "out" sets it, and how. By default a parameter is an input
// passed by value.
template <class P>
struct Arg {
  static constexpr bool output = false;
  static Json entry(const P& value) { return toJson(value); }
};
template <class T>
struct Arg<const T&> {
  static constexpr bool output = false;
  static Json entry(const T& value) { return toJson(value); }
};
// In/out by reference: the answer replaces the value; null leaves it as the command set it.
template <class T>
struct Arg<T&> {
  static constexpr bool output = true;
  static Json entry(const T& value) { return toJson(value); }
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null()) decodeAs<T>(j, path);
  }
  static void apply(T& value, const Json& j, const std::string& path, const std::string&) {
    if (!j.is_null()) fromJson(j, value, path);
  }
};
// Output pointer, which may also carry a record in (a pre-made node, a query list): recorded
// with the record it points at on entry, or null; the answer points it at a new record or null.
template <class T>
struct Arg<T*&> {
  static constexpr bool output = true;
  static Json entry(const T* p) { return p ? toJson(*p) : Json(nullptr); }
  static void check(const Json& j, const std::string& path) {
    if (!j.is_null()) decodeAs<T>(j, path);
  }
  static void apply(T*& p, const Json& j, const std::string& path, const std::string&) {
    p = j.is_null() ? nullptr : new T(decodeAs<T>(j, path));
  }
};
template <class T>
struct Arg<const T*> {
  static constexpr bool output = false;
  static Json entry(const T* p) { return p ? toJson(*p) : Json(nullptr); }
};
// A record the command lends through a pointer for the server to fill.
template <class T>
struct Arg<T*> {
  static constexpr bool output = true;
  static Json entry(const T* p) { return p ? toJson(*p) : Json(nullptr); }
  static void check(const Json& j, const std::string& path) { decodeAs<T>(j, path); }
  static void apply(T* p, const Json& j, const std::string& path, const std::string&) {
    if (p) fromJson(j, *p, path);
  }
};
template <>
struct Arg<const char*> {
  static constexpr bool output = false;
  static Json entry(const char* text) { return text ? Json(text) : Json(nullptr); }
};
template <>
struct Arg<ApplicationObject*> {
  static constexpr bool output = false;
  static Json entry(const ApplicationObject* object) { return handleJson(object != nullptr); }
};
template <>
struct Arg<CORBA::Environment&> {
  static constexpr bool output = false;
  static Json entry(const CORBA::Environment&) { return nullptr; }
};
template <class I>
struct Arg<ZORInterfaceVar<I>> {
  static constexpr bool output = false;
  static Json entry(const ZORInterfaceVar<I>& h) { return handleJson(!h.IsNull()); }
};
template <class I>
struct Arg<const ZORInterfaceVar<I>&> : Arg<ZORInterfaceVar<I>> {};
template <class I>
struct Arg<ZORInterfaceVar<I>&> {
  static constexpr bool output = true;
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

// The answers' checkers by operation name.
const std::map<std::string, Checker>& checkers() {
  static const std::map<std::string, Checker> table = {
#define OKS_OPERATION(Class, Return, name, parameters) {#name, &Signature<decltype(&Server::name)>::check},
#include <oks/service/server_operations.def>
  };
  return table;
}

}  // namespace

class ScriptedServer::Scripted : public Server {
 public:
  explicit Scripted(const Json& answers) : answers_(answers) {}

  const Json& calls() const { return calls_; }

  // Every operation records its call, then answers from the script; an operation called on an
  // object does not record the object.
#define OKS_OPERATION(Class, Return, name, parameters)                       \
  Return name(OKS_PARAMETERS parameters) override {                          \
    return this->answer(&Server::name, #name OKS_MORE_ARGUMENTS parameters); \
  }
#define OKS_OPERATION_ON_OBJECT(Class, Return, name, parameters)                     \
  Return name(OKS_PARAMETERS parameters) override {                                  \
    return this->answerOnObject(&Server::name, #name OKS_MORE_ARGUMENTS parameters); \
  }
#include <oks/service/server_operations.def>

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

  template <class R, class... P>
  R answer(R (Server::*)(P...), const char* op, std::type_identity_t<P>... a) {
    return respond<R, P...>(op, a...);
  }
  template <class R, class Object, class... P>
  R answerOnObject(R (Server::*)(Object, P...), const char* op, std::type_identity_t<Object>,
                   std::type_identity_t<P>... a) {
    return respond<R, P...>(op, a...);
  }

  // Records the call with its arguments P, then answers it.
  template <class R, class... P>
  R respond(const char* op, std::type_identity_t<P>... a) {
    Json args = Json::array({Arg<P>::entry(a)...});
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
