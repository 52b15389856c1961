#include <algorithm>

#include <oks/host/codec.h>

namespace oks::host {

namespace {
thread_local bool compactRecords = false;
}

CompactRecords::CompactRecords() : previous_(compactRecords) { compactRecords = true; }
CompactRecords::~CompactRecords() { compactRecords = previous_; }
bool CompactRecords::active() { return compactRecords; }

void expectArray(const Json& j, const std::string& path) {
  if (!j.is_array()) throw CaseError(path, "expected an array");
}

void expectMembers(const Json& j, const std::vector<const char*>& names, const std::string& path) {
  if (!j.is_object()) throw CaseError(path, "expected an object");
  for (auto it = j.begin(); it != j.end(); ++it) {
    const std::string& key = it.key();
    bool known = std::any_of(names.begin(), names.end(), [&](const char* n) { return key == n; });
    if (!known) {
      std::string list;
      for (const char* n : names) list += (list.empty() ? "" : ", ") + std::string(n);
      throw CaseError(memberPath(path, key), "unknown member (expected one of " + list + ")");
    }
  }
}

Json Codec<_SEQUENCE_octet>::encode(const _SEQUENCE_octet& octets) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (CORBA::Octet o : octets) {
    text += digits[o >> 4];
    text += digits[o & 0x0f];
  }
  return text;
}

namespace {
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

void Codec<_SEQUENCE_octet>::decode(const Json& j, _SEQUENCE_octet& octets, const std::string& path) {
  if (!j.is_string()) throw CaseError(path, "expected a hex string");
  const std::string& text = j.get_ref<const std::string&>();
  if (text.size() % 2 != 0) throw CaseError(path, "expected a hex string (an even number of digits)");
  octets.length(0);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
    if (high < 0 || low < 0) throw CaseError(path, "expected a hex string");
    octets.append(static_cast<CORBA::Octet>(high * 16 + low));
  }
}

Json Codec<CORBA::Any>::encode(const CORBA::Any& any) {
  struct Encoder {
    Json operator()(std::monostate) const { return nullptr; }
    Json operator()(bool b) const { return b; }
    Json operator()(std::int64_t i) const { return i; }
    Json operator()(double d) const { return d; }
    Json operator()(const std::string& s) const { return s; }
    Json operator()(const CORBA::Any::List& list) const {
      Json out = Json::array();
      for (const auto& item : list) out.push_back(Codec<CORBA::Any>::encode(item));
      return out;
    }
    Json operator()(const CORBA::Any::Members& members) const {
      Json out = Json::object();
      for (const auto& [name, value] : members) out[name] = Codec<CORBA::Any>::encode(value);
      return out;
    }
  };
  return std::visit(Encoder{}, any.value());
}

void Codec<CORBA::Any>::decode(const Json& j, CORBA::Any& any, const std::string& path) {
  switch (j.type()) {
    case Json::value_t::null:
      any = CORBA::Any();
      return;
    case Json::value_t::boolean:
      any = CORBA::Any(j.get<bool>());
      return;
    case Json::value_t::number_integer:
      any = CORBA::Any(j.get<std::int64_t>());
      return;
    case Json::value_t::number_unsigned:
      if (j.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        any = CORBA::Any(static_cast<std::int64_t>(j.get<std::uint64_t>()));
      else
        any = CORBA::Any(j.get<double>());
      return;
    case Json::value_t::number_float:
      any = CORBA::Any(j.get<double>());
      return;
    case Json::value_t::string:
      any = CORBA::Any(j.get<std::string>());
      return;
    case Json::value_t::array: {
      CORBA::Any::List list;
      for (std::size_t i = 0; i < j.size(); ++i)
        list.push_back(decodeAs<CORBA::Any>(j[i], indexPath(path, i)));
      any = CORBA::Any(std::move(list));
      return;
    }
    case Json::value_t::object: {
      CORBA::Any::Members members;
      for (const auto& [key, value] : j.items())
        members.emplace_back(key, decodeAs<CORBA::Any>(value, memberPath(path, key)));
      any = CORBA::Any(std::move(members));
      return;
    }
    default:
      throw CaseError(path, "expected a JSON value");
  }
}

namespace {
const char* const expandedNames[] = {"EXPANDED", "NOTEXPANDED", "MODIFIED"};
}

Json Codec<QEM_NlsProductTypes::expandedType>::encode(QEM_NlsProductTypes::expandedType e) {
  return expandedNames[static_cast<int>(e)];
}

void Codec<QEM_NlsProductTypes::expandedType>::decode(const Json& j, QEM_NlsProductTypes::expandedType& e,
                                                      const std::string& path) {
  for (int i = 0; i < 3; ++i)
    if (j.is_string() && j.get_ref<const std::string&>() == expandedNames[i]) {
      e = static_cast<QEM_NlsProductTypes::expandedType>(i);
      return;
    }
  throw CaseError(path, "expected one of EXPANDED, NOTEXPANDED, MODIFIED");
}

std::string shortText(const Json& j) { return j.dump(); }

}  // namespace oks::host
