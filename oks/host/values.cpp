#include <utility>

#include <oks/host/values.h>

namespace oks::host {
namespace {

// The name of each kind in the case notation.
template <class T>
struct Kind;
#define OKS_KIND(Type, Name)                  \
  template <>                                 \
  struct Kind<Type> {                         \
    static constexpr const char* name = Name; \
  };
OKS_KIND(Node, "Node")
OKS_KIND(NodeSeq, "NodeSeq")
OKS_KIND(XNode, "XNode")
OKS_KIND(XNodeSeq, "XNodeSeq")
OKS_KIND(QEM_ProductTypes::BObjectKey, "BObjectKey")
OKS_KIND(QEM_ProductTypes::BObjectKeySeq, "BObjectKeySeq")
OKS_KIND(QEM_ProductTypes::ProductAttribute, "ProductAttribute")
OKS_KIND(QEM_ProductTypes::ProductAttributeSeq, "ProductAttributeSeq")
OKS_KIND(ZORUnicodeString, "string")
OKS_KIND(int, "int")
OKS_KIND(unsigned char, "uchar")
OKS_KIND(double, "double")
OKS_KIND(_SEQUENCE_octet, "octets")
OKS_KIND(ZORListValZORUnicodeString, "strings")
OKS_KIND(ZORRawCollint, "ints")
OKS_KIND(ZORRawColldouble, "doubles")
OKS_KIND(StreamableValue, "streamable")
OKS_KIND(FailingParam, "fail")
OKS_KIND(std::monostate, "object")
OKS_KIND(QEMConfig::NormalValueSeq, "NormalValueSeq")
OKS_KIND(QEMConfig::MultiCOFilter, "MultiCOFilter")
OKS_KIND(AttributeFilters, "AttributeFilters")
OKS_KIND(ObjectQueries, "ObjectQueries")
OKS_KIND(QEMConfig::DomainEffectivitySeq, "DomainEffectivitySeq")
OKS_KIND(QEMConfig::MileStoneValueSeq, "MileStoneValueSeq")
#undef OKS_KIND

// The streamer class that carries each kind of object.
template <class T>
struct StreamerOf;
#define OKS_STREAMER(Type, Streamer) \
  template <>                        \
  struct StreamerOf<Type> {          \
    using type = Streamer;           \
  };
OKS_STREAMER(ZORUnicodeString, ZORUnicodeStringStreamer)
OKS_STREAMER(QEMConfig::NormalValueSeq, NormalValueSeqStreamer)
OKS_STREAMER(QEMConfig::MultiCOFilter, MultiCOFilterStreamer)
OKS_STREAMER(AttributeFilters, DescriptionFilterSeqStreamer)
OKS_STREAMER(ObjectQueries, ObjectQuerySeqStreamer)
OKS_STREAMER(QEMConfig::DomainEffectivitySeq, DomainEffectivitySeqStreamer)
OKS_STREAMER(QEMConfig::MileStoneValueSeq, MileStoneValueSeqStreamer)
#undef OKS_STREAMER

// Calls f.template operator()<T>() for each alternative T of a variant.
template <class Variant, class F>
void forEachAlternative(F&& f) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (f.template operator()<std::variant_alternative_t<I, Variant>>(), ...);
  }
  (std::make_index_sequence<std::variant_size_v<Variant>>{});
}

template <class Variant>
std::string kindNames() {
  std::string names;
  forEachAlternative<Variant>(
      [&]<class T>() { names += (names.empty() ? "" : ", ") + std::string(Kind<T>::name); });
  return names;
}

StreamableValue decodeStreamable(const Json& j, const std::string& path) {
  StreamableValue param;
  if (j.is_null()) {
    param.emptyHandle = true;
    return param;
  }
  std::vector<const char*> members = {"status", "typeName"};
  forEachAlternative<StreamableValue::Content>([&]<class T>() { members.push_back(Kind<T>::name); });
  expectMembers(j, members, path);
  const char* given = nullptr;
  forEachAlternative<StreamableValue::Content>([&]<class T>() {
    auto it = j.find(Kind<T>::name);
    if (it == j.end()) return;
    std::string memberAt = memberPath(path, Kind<T>::name);
    if (given)
      throw CaseError(memberAt, std::string("a streamable carries one object; ") + given + " is given too");
    given = Kind<T>::name;
    if constexpr (std::is_same_v<T, std::monostate>) {
      if (!it->is_null()) throw CaseError(memberAt, "expected null (a streamable that yields no object)");
    } else {
      param.content = decodeAs<T>(*it, memberAt);
    }
  });
  if (auto it = j.find("status"); it != j.end())
    param.status = decodeAs<HRESULT>(*it, memberPath(path, "status"));
  if (auto it = j.find("typeName"); it != j.end())
    param.typeName = decodeAs<std::string>(*it, memberPath(path, "typeName"));
  return param;
}

// A host-made streamable, made directly rather than through the object modeler so that
// streamer faults count only the command's own streamers. The caller owns the reference.
StreamableBase* makeStreamable(const StreamableValue& param) {
  StreamableBase* made = std::visit(
      [](const auto& content) -> StreamableBase* {
        using T = std::decay_t<decltype(content)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return new StreamableBase();
        } else {
          auto* streamer = new typename StreamerOf<T>::type();
          if constexpr (std::is_same_v<T, ZORUnicodeString>)
            streamer->SetObject(&content);  // the string streamer copies
          else
            streamer->SetObject(new T(content));
          return streamer;
        }
      },
      param.content);
  if (param.status) made->setAccessorStatus(*param.status);
  if (param.typeName) made->setTypeName(*param.typeName);
  return made;
}

template <class T>
ParamValue decodeAlternative(const Json& j, const std::string& path) {
  if constexpr (std::is_same_v<T, StreamableValue>)
    return decodeStreamable(j, path);
  else if constexpr (std::is_same_v<T, FailingParam>) {
    // A getter that succeeds yields a record, so a failing one can only fail.
    HRESULT status = decodeAs<HRESULT>(j, path);
    if (status >= 0) throw CaseError(path, "a failing getter returns a negative status");
    return FailingParam{status};
  } else
    return decodeAs<T>(j, path);
}

#define OKS_SET_RECORD(Kind, Type)                                                               \
  void setRecord(MIROAppBaseCommand& command, const ZORUnicodeString& key, const Type& record) { \
    command.Set##Kind##Parameter(key, new Type(record));                                         \
  }
OKS_SET_RECORD(Node, Node)
OKS_SET_RECORD(NodeSeq, NodeSeq)
OKS_SET_RECORD(XNode, XNode)
OKS_SET_RECORD(XNodeSeq, XNodeSeq)
OKS_SET_RECORD(BObjectKey, QEM_ProductTypes::BObjectKey)
OKS_SET_RECORD(BObjectKeySeq, QEM_ProductTypes::BObjectKeySeq)
OKS_SET_RECORD(ProductAttribute, QEM_ProductTypes::ProductAttribute)
OKS_SET_RECORD(ProductAttributeSeq, QEM_ProductTypes::ProductAttributeSeq)
#undef OKS_SET_RECORD

template <class T>
concept RecordParam = requires(MIROAppBaseCommand& c, const ZORUnicodeString& k, const T& r) {
  setRecord(c, k, r);
};

Json streamableJson(const MIROIStreamable_var& handle) {
  if (!handle) return nullptr;
  auto* base = dynamic_cast<const StreamableBase*>(handle.get());
  Json out = {{"streamer", base ? Json(base->lateType()) : Json(nullptr)}};
  bool carried = false;
  forEachAlternative<StreamableValue::Content>([&]<class T>() {
    if constexpr (!std::is_same_v<T, std::monostate>) {
      if (auto* streamer = dynamic_cast<const typename StreamerOf<T>::type*>(base)) {
        if (const T* object = streamer->object()) {
          out[Kind<T>::name] = toJson(*object);
          carried = true;
        }
      }
    }
  });
  if (!carried) out["object"] = nullptr;
  return out;
}

}  // namespace

bool isStreamerLateType(const std::string& lateType) {
  bool found = false;
  forEachAlternative<StreamableValue::Content>([&]<class T>() {
    if constexpr (!std::is_same_v<T, std::monostate>)
      found = found || lateType == StreamerOf<T>::type::LateType;
  });
  return found;
}

ParamValue decodeParam(const Json& j, const std::string& path) {
  if (!j.is_object() || j.size() != 1)
    throw CaseError(path, "expected a one-member object naming the kind, such as {\"XNode\": {...}}");
  const auto member = j.begin();  // the one member: its key names the kind
  const std::string kind = member.key();
  const Json& value = member.value();
  std::optional<ParamValue> decoded;
  forEachAlternative<ParamValue>([&]<class T>() {
    if (kind == Kind<T>::name) decoded = decodeAlternative<T>(value, memberPath(path, kind));
  });
  if (!decoded)
    throw CaseError(memberPath(path, kind),
                    "unknown parameter kind (expected one of " + kindNames<ParamValue>() + ")");
  return std::move(*decoded);
}

void setParam(MIROIBaseCommand& adapter, MIROAppBaseCommand& command, const Param& param) {
  ZORUnicodeString key(param.key);
  std::visit(
      [&](const auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (RecordParam<T>) {
          setRecord(command, key, value);
        } else if constexpr (std::is_same_v<T, FailingParam>) {
          command.FailParameter(key, value.status);
        } else if constexpr (std::is_same_v<T, StreamableValue>) {
          MIROIStreamable_var handle;
          if (!value.emptyHandle) {
            StreamableBase* made = makeStreamable(value);
            handle = MIROIStreamable_var(made);
            made->Release();
          }
          adapter.SetParameter(key, handle);
        } else {
          adapter.SetParameter(key, value);
        }
      },
      param.value);
}

Json readResults(const MIROAppBaseCommand& command) {
  Json results = Json::object();
  for (const auto& [key, stored] : command.Results().entries()) {
    results[key] = std::visit(
        [](const auto& value) -> Json {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, MIROIStreamable_var>) {
            return {{"streamable", streamableJson(value)}};
          } else if constexpr (requires { typename T::element_type; }) {
            using Held = typename T::element_type;
            return {{Kind<Held>::name, value ? toJson(*value) : Json(nullptr)}};
          } else {
            return {{Kind<T>::name, toJson(value)}};
          }
        },
        stored);
  }
  return results;
}

void execute(MIROIBaseCommand& adapter, Json& status, Json& exception) {
  try {
    status = adapter.Execute();
  } catch (const std::exception& e) {
    exception = e.what();
  } catch (...) {
    exception = "an exception that is not a std::exception";
  }
}

}  // namespace oks::host
