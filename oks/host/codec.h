// JSON codecs of every record, list and value kind a parameter, a result or a server call
// carries, in the notation of the case files: records by their member names (members left out
// take their empty value), octet sequences as lower-case hex strings, enums by their names,
// lists as arrays. Decoding names the member path of anything malformed.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include <oks/platform/zor_unicode_string.h>
#include <oks/types/product_types.h>
#include <oks/types/qem_config.h>

namespace oks::host {

// Members keep the order they were written in, so that outcomes read like the case files.
using Json = nlohmann::ordered_json;

// Something in a case that cannot be used as written: the member path and what is wrong.
class CaseError : public std::runtime_error {
 public:
  CaseError(const std::string& path, const std::string& problem)
      : std::runtime_error(path.empty() ? problem : path + ": " + problem), path_(path) {}
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Member paths: "params.Param0" + "XNode" -> "params.Param0.XNode"; + 2 -> "...Nodes[2]".
inline std::string memberPath(const std::string& path, const std::string& name) {
  return path.empty() ? name : path + "." + name;
}
inline std::string indexPath(const std::string& path, std::size_t i) {
  return path + "[" + std::to_string(i) + "]";
}

// The codec of a kind; specialised below for every kind the cases carry.
template <class T>
struct Codec;

template <class T>
Json toJson(const T& value) {
  return Codec<T>::encode(value);
}
template <class T>
void fromJson(const Json& j, T& value, const std::string& path) {
  Codec<T>::decode(j, value, path);
}
template <class T>
T decodeAs(const Json& j, const std::string& path) {
  T value{};
  fromJson(j, value, path);
  return value;
}

// While an object of this class lives, records leave out the members that hold their empty value
// (on this thread): the shortest notation that reads back as the same record.
class CompactRecords {
 public:
  CompactRecords();
  ~CompactRecords();
  CompactRecords(const CompactRecords&) = delete;
  CompactRecords& operator=(const CompactRecords&) = delete;
  static bool active();

 private:
  bool previous_;
};

// --- Plain values ----------------------------------------------------------------------------

template <>
struct Codec<std::string> {
  static Json encode(const std::string& s) { return s; }
  static void decode(const Json& j, std::string& s, const std::string& path) {
    if (!j.is_string()) throw CaseError(path, "expected a string");
    s = j.get<std::string>();
  }
};

template <>
struct Codec<ZORUnicodeString> {
  static Json encode(const ZORUnicodeString& s) { return s.str(); }
  static void decode(const Json& j, ZORUnicodeString& s, const std::string& path) {
    s = ZORUnicodeString(decodeAs<std::string>(j, path));
  }
};

template <>
struct Codec<bool> {
  static Json encode(bool b) { return b; }
  static void decode(const Json& j, bool& b, const std::string& path) {
    if (!j.is_boolean()) throw CaseError(path, "expected true or false");
    b = j.get<bool>();
  }
};

// Integers of every width: a JSON integer within the range of the type (an unsigned char is
// written as a number).
template <class T>
requires(std::is_integral_v<T> && !std::is_same_v<T, bool>) struct Codec<T> {
  static Json encode(T v) {
    if constexpr (std::is_signed_v<T>)
      return static_cast<std::int64_t>(v);
    else
      return static_cast<std::uint64_t>(v);
  }
  static void decode(const Json& j, T& v, const std::string& path) {
    using Limits = std::numeric_limits<T>;
    bool fits = false;
    if (j.is_number_unsigned())
      fits = j.get<std::uint64_t>() <= static_cast<std::uint64_t>(Limits::max());
    else if (j.is_number_integer())
      fits = j.get<std::int64_t>() >= static_cast<std::int64_t>(Limits::min()) &&
             (j.get<std::int64_t>() < 0 ||
              static_cast<std::uint64_t>(j.get<std::int64_t>()) <= static_cast<std::uint64_t>(Limits::max()));
    if (!fits)
      throw CaseError(path, "expected an integer from " + std::to_string(Limits::min()) + " to " +
                                std::to_string(Limits::max()));
    v = j.is_number_unsigned() ? static_cast<T>(j.get<std::uint64_t>())
                               : static_cast<T>(j.get<std::int64_t>());
  }
};

template <>
struct Codec<double> {
  static Json encode(double d) { return d; }
  static void decode(const Json& j, double& d, const std::string& path) {
    if (!j.is_number()) throw CaseError(path, "expected a number");
    d = j.get<double>();
  }
};

// Octet sequences: a hex string, two digits per octet, written in lower case.
template <>
struct Codec<_SEQUENCE_octet> {
  static Json encode(const _SEQUENCE_octet& octets);
  static void decode(const Json& j, _SEQUENCE_octet& octets, const std::string& path);
};

// A self-describing value: any JSON value.
template <>
struct Codec<CORBA::Any> {
  static Json encode(const CORBA::Any& any);
  static void decode(const Json& j, CORBA::Any& any, const std::string& path);
};

template <>
struct Codec<QEM_NlsProductTypes::expandedType> {
  static Json encode(QEM_NlsProductTypes::expandedType e);
  static void decode(const Json& j, QEM_NlsProductTypes::expandedType& e, const std::string& path);
};

// --- Lists -----------------------------------------------------------------------------------

void expectArray(const Json& j, const std::string& path);

template <class T>
struct Codec<CORBA::sequence<T>> {
  static Json encode(const CORBA::sequence<T>& seq) {
    Json out = Json::array();
    for (const T& item : seq) out.push_back(toJson(item));
    return out;
  }
  static void decode(const Json& j, CORBA::sequence<T>& seq, const std::string& path) {
    expectArray(j, path);
    seq.length(0);
    for (std::size_t i = 0; i < j.size(); ++i) seq.append(decodeAs<T>(j[i], indexPath(path, i)));
  }
};

// Lists indexed from 1: the first entry is the first array element.
template <class T>
struct Codec<ZORListVal<T>> {
  static Json encode(const ZORListVal<T>& list) {
    Json out = Json::array();
    for (const T& item : list.items()) out.push_back(toJson(item));
    return out;
  }
  static void decode(const Json& j, ZORListVal<T>& list, const std::string& path) {
    expectArray(j, path);
    list.Empty();
    for (std::size_t i = 0; i < j.size(); ++i) list.Append(decodeAs<T>(j[i], indexPath(path, i)));
  }
};

template <class T>
struct Codec<ZORListPtr<T>> {
  static Json encode(const ZORListPtr<T>& list) {
    Json out = Json::array();
    for (int i = 1; i <= list.Size(); ++i) out.push_back(toJson(*list[i]));
    return out;
  }
  static void decode(const Json& j, ZORListPtr<T>& list, const std::string& path) {
    expectArray(j, path);
    list = ZORListPtr<T>();
    for (std::size_t i = 0; i < j.size(); ++i) list.Append(new T(decodeAs<T>(j[i], indexPath(path, i))));
  }
};

// --- Records ---------------------------------------------------------------------------------

// The members of a record, in order: describe(visitor, record) calls visitor(name, member) for
// each. Specialised once per record; the same description encodes and decodes.
template <class T>
struct Record {
  static constexpr bool defined = false;
};

#define OKS_RECORD(Type)                  \
  template <>                             \
  struct Record<Type> {                   \
    static constexpr bool defined = true; \
    template <class V>                    \
    static void describe(V& v, Type& r);  \
  };                                      \
  template <class V>                      \
  void Record<Type>::describe(V& v, Type& r)

OKS_RECORD(QEM_ProductTypes::ProductAttribute) {
  v("Name", r.Name);
  v("Value", r.Value);
}
OKS_RECORD(QEM_ProductTypes::Node) {
  v("UUID", r.UUID);
  v("Ref", r.Ref);
  v("Name", r.Name);
  v("AttributeList", r.AttributeList);
  v("ContextPropertiesList", r.ContextPropertiesList);
  v("Type", r.Type);
  v("DerivedType", r.DerivedType);
  v("Level", r.Level);
  v("ChildrenCount", r.ChildrenCount);
  v("ExpandedStatus", r.ExpandedStatus);
}
OKS_RECORD(QEM_ProductTypes::XNode) {
  v("Name", r.Name);
  v("Type", r.Type);
  v("Environment", r.Environment);
  v("Nodes", r.Nodes);
}
OKS_RECORD(QEM_NlsProductTypes::BObjectKey) {
  v("object_type", r.object_type);
  v("UUID", r.UUID);
}
OKS_RECORD(QEM_OrbixTypes::DateCorba) {
  v("year", r.year);
  v("month", r.month);
  v("day", r.day);
  v("hour", r.hour);
  v("min", r.min);
  v("sec", r.sec);
}
OKS_RECORD(QEM_ConfigTypes::DateValue) {
  v("fromDate", r.fromDate);
  v("toDate", r.toDate);
}
OKS_RECORD(QEM_ConfigTypes::RangeValue) {
  v("fromRank", r.fromRank);
  v("toRank", r.toRank);
}
OKS_RECORD(QEM_Config::NormalValue) {
  v("optionalDate", r.optionalDate);
  v("optionalRange", r.optionalRange);
  v("optionalSpec", r.optionalSpec);
  v("StartMileStoneName", r.StartMileStoneName);
  v("EndMileStoneName", r.EndMileStoneName);
  v("Sign", r.Sign);
}
OKS_RECORD(QEM_Config::FilterValue) {
  v("COName", r.COName);
  v("modifs", r.modifs);
  v("validatedEffectivities", r.validatedEffectivities);
  v("domain", r.domain);
  v("mode", r.mode);
  v("eco_name", r.eco_name);
  v("hideUnsolvedOpMode", r.hideUnsolvedOpMode);
}
OKS_RECORD(QEM_Config::MileStoneValue) {
  v("Name", r.Name);
  v("nlsRep", r.nlsRep);
  v("optionalDate", r.optionalDate);
  v("optionalRange", r.optionalRange);
  v("type", r.type);
}
OKS_RECORD(QEM_Config::XEffectivityValues) {
  v("Domain", r.Domain);
  v("EffectivityDesc", r.EffectivityDesc);
  v("Effectivity", r.Effectivity);
}
OKS_RECORD(QEMIQAttributeFilterObject) {
  v("Attribute", r.Attribute);
  v("Operator", r.Operator);
  v("Value", r.Value);
}
OKS_RECORD(QEMIQObjectQuery) { v("Query", r.Query); }

#undef OKS_RECORD

// Checks that j is an object whose members are all among the names; the first other member
// is reported.
void expectMembers(const Json& j, const std::vector<const char*>& names, const std::string& path);

template <class T>
requires Record<T>::defined struct Codec<T> {
  static Json encode(const T& record) {
    std::vector<Json> empty;
    bool compact = CompactRecords::active();
    if (compact) {
      T blank{};
      auto encodeEmpty = [&empty](const char*, const auto& member) { empty.push_back(toJson(member)); };
      Record<T>::describe(encodeEmpty, blank);
    }
    Json out = Json::object();
    std::size_t i = 0;
    auto write = [&](const char* name, const auto& member) {
      Json value = toJson(member);
      if (!compact || value != empty[i]) out[name] = std::move(value);
      ++i;
    };
    Record<T>::describe(write, const_cast<T&>(record));
    return out;
  }
  static void decode(const Json& j, T& record, const std::string& path) {
    std::vector<const char*> names;
    auto collect = [&names](const char* name, const auto&) { names.push_back(name); };
    Record<T>::describe(collect, record);
    expectMembers(j, names, path);
    record = T{};
    auto read = [&](const char* name, auto& member) {
      if (auto it = j.find(name); it != j.end()) fromJson(*it, member, memberPath(path, name));
    };
    Record<T>::describe(read, record);
  }
};

// The canonical text of a JSON value, for messages.
std::string shortText(const Json& j);

// --- JSON texts and files --------------------------------------------------------------------
// Every input the host reads (case files, scripts, store files, --param values) goes through
// these, so that every refusal names its source and its place the same way.

// How deep arrays and objects may nest.
constexpr std::size_t kJsonDepthLimit = 256;

// A JSON text. Refuses, with a CaseError naming the place (line and column, or the member path
// of a member given twice): a syntax error, trailing bytes (a NUL included), nesting deeper than
// kJsonDepthLimit, a number out of the range of a double and a member given twice. Linear in
// the size of the text; members keep their order.
//
// With a sink, each element of the array that the root object's member of the sink's name holds
// is given to the sink as soon as it is complete, and not kept: that member is an empty array in
// the value returned. A large file is so read one element at a time.
struct ElementSink {
  std::string member;
  std::function<void(const Json& element, std::size_t index)> each;
};
Json parseJsonText(const std::string& text, const ElementSink* sink = nullptr);
// The text of a file; throws CaseError "cannot be opened" or "a folder, not a file".
std::string readInputFile(const std::string& file);
// As parseJsonText; throws std::runtime_error "PLACE: REASON".
Json parseJson(const std::string& text, const std::string& place);
// A JSON file; throws std::runtime_error "FILE: REASON" (also for a CaseError from the sink).
Json readJsonFile(const std::string& file, const ElementSink* sink = nullptr);

}  // namespace oks::host
