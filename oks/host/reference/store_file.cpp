#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include <oks/host/reference/store_file.h>
#include <oks/reference/reference_server.h>

namespace oks::host {
namespace {

using reference::Object;
using reference::Uuid;
namespace kind = reference::kind;

const std::vector<const char*> commonMembers{"UUID",  "Type",       "Name",       "Environment",
                                             "owner", "attributes", "milestones", "currentFilter"};

const std::map<std::string, std::vector<const char*>>& typeMembers() {
  static const std::map<std::string, std::vector<const char*>> members{
      {kind::ProductRootClass, {}},
      {kind::ConfiguredView, {"productType"}},
      {kind::ProductType, {"typedefSpecs", "authorisedSpecs", "applicability"}},
      {kind::ProductSpecification,
       {"version", "specType", "members", "values", "domain", "hideUnsolved", "filter", "criteria",
        "caseSensitive", "criteriaType", "carryOver", "supported", "source", "applicability"}},
      {kind::ConfigHandler,
       {"id", "description", "version", "first", "second", "filter", "filterMode", "filter150",
        "hideUnsolved", "attributeFilters", "criterionType", "caseSensitive"}},
      {kind::ChangeObject, {}},
      {kind::Modification, {"user", "organization", "project", "parent", "eco", "action"}},
  };
  return members;
}

// Reads the members of one JSON object that are present into their targets.
class Members {
 public:
  Members(const Json& j, std::string path) : j_(j), path_(std::move(path)) {}

  // The third argument is what a writer leaves out; a reader leaves the target as it is.
  template <class T>
  void operator()(const char* name, T& target, const T& = T{}) const {
    if (auto it = j_.find(name); it != j_.end()) fromJson(*it, target, memberPath(path_, name));
  }
  void uuid(const char* name, Uuid& target) const {
    _SEQUENCE_octet octets;
    (*this)(name, octets);
    if (j_.contains(name)) target = reference::toHex(octets);
  }
  void uuids(const char* name, std::vector<Uuid>& target) const {
    CORBA::sequence<_SEQUENCE_octet> list;
    (*this)(name, list);
    for (const auto& octets : list) target.push_back(reference::toHex(octets));
  }
  void attributeFilters(const char* name, reference::AttributeFilterList& target) const {
    AttributeFilters list;
    (*this)(name, list);
    target = reference::fromList(&list);
  }
  const std::string& path() const { return path_; }

 private:
  const Json& j_;
  std::string path_;
};

void readCurrentFilter(const Json& j, reference::CurrentFilter& f, const std::string& path) {
  expectMembers(j, {"filter", "mode", "filter150", "hideUnsolved"}, path);
  Members m(j, path);
  m("filter", f.filter);
  m("mode", f.mode);
  m("filter150", f.filter150);
  m("hideUnsolved", f.hideUnsolved);
}

// The members of each kind of object, for reading (Members) and writing (Writer) alike; O is
// Object or const Object.
template <class V, class O>
void specificationMembers(V& v, O& o) {
  auto& d = o.spec;
  v("version", d.version);
  v("specType", d.specType);
  v.uuids("members", d.members);
  v("values", d.values);
  v("domain", d.domain);
  v("hideUnsolved", d.hideUnsolved);
  v("filter", d.filter);
  v.attributeFilters("criteria", d.criteria);
  v("caseSensitive", d.caseSensitive, static_cast<unsigned char>(1));
  v("criteriaType", d.criteriaType);
  v("carryOver", d.carryOver);
  v("supported", d.supported);
  v.uuid("source", d.source);
}

template <class V, class O>
void handlerMembers(V& v, O& o) {
  auto& d = o.handler;
  v("description", d.description);
  v("version", d.version, 1);
  v.uuid("first", d.first);
  v.uuid("second", d.second);
  v("filter", d.filter.filter);
  v("filterMode", d.filter.mode, 2);
  v("filter150", d.filter.filter150);
  v("hideUnsolved", d.filter.hideUnsolved);
  v.attributeFilters("attributeFilters", d.attributeFilters);
  v("criterionType", d.criterionType);
  v("caseSensitive", d.caseSensitive, static_cast<unsigned char>(1));
}

template <class V, class O>
void modificationMembers(V& v, O& o) {
  auto& d = o.modification;
  v("user", d.user);
  v("organization", d.organization);
  v("project", d.project);
  v.uuid("parent", d.parent);
  v("eco", d.eco);
}

void readHandler(const Members& m, Object& o) {
  auto& d = o.handler;
  d.id = o.name;
  m("id", d.id);
  if (o.name.empty()) o.name = d.id;
  handlerMembers(m, o);
  if (o.owner.empty()) o.owner = d.second;
}

void readModification(const Members& m, Object& o) {
  auto& d = o.modification;
  modificationMembers(m, o);
  std::string action = "none";
  m("action", action);
  static const std::map<std::string, reference::ActionState> states{
      {"none", reference::ActionState::None},
      {"open", reference::ActionState::Open},
      {"closed", reference::ActionState::Closed}};
  auto state = states.find(action);
  if (state == states.end())
    throw CaseError(memberPath(m.path(), "action"), "expected \"none\", \"open\" or \"closed\"");
  d.action = state->second;
}

}  // namespace

Object readStoreObject(const Json& j, const std::string& path) {
  if (!j.is_object()) throw CaseError(path, "expected an object");
  auto type = j.find("Type");
  if (type == j.end()) throw CaseError(path, "an object needs its Type");
  std::string t = decodeAs<std::string>(*type, memberPath(path, "Type"));
  auto own = typeMembers().find(t);
  if (own == typeMembers().end())
    throw CaseError(memberPath(path, "Type"), "expected PRC, CV, PT, PS, CH, CO or MOD, not \"" + t + "\"");
  std::vector<const char*> allowed = commonMembers;
  allowed.insert(allowed.end(), own->second.begin(), own->second.end());
  expectMembers(j, allowed, path);
  if (!j.contains("UUID")) throw CaseError(path, "an object needs its UUID");

  Object o;
  o.type = t;
  o.environment = reference::kDefaultEnvironment;
  Members m(j, path);
  m.uuid("UUID", o.uuid);
  if (o.uuid.empty()) throw CaseError(memberPath(path, "UUID"), "a UUID has at least one octet");
  m("Name", o.name);
  m("Environment", o.environment);
  m.uuid("owner", o.owner);
  m("attributes", o.attributes);
  m("milestones", o.milestones);
  if (auto f = j.find("currentFilter"); f != j.end()) {
    o.currentFilter.emplace();
    readCurrentFilter(*f, *o.currentFilter, memberPath(path, "currentFilter"));
  }
  m("applicability", o.applicability);
  m.uuid("productType", o.productType);
  m.uuids("typedefSpecs", o.typedefSpecs);
  m.uuids("authorisedSpecs", o.authorisedSpecs);
  if (o.is(kind::ProductSpecification)) specificationMembers(m, o);
  if (o.is(kind::ConfigHandler)) readHandler(m, o);
  if (o.is(kind::Modification)) readModification(m, o);
  return o;
}

namespace {

// Writes the members that differ from what a store file leaves out.
class Writer {
 public:
  explicit Writer(Json& j) : j_(j) {}
  template <class T>
  void operator()(const char* name, const T& value, const T& empty = T{}) {
    if (!(value == empty)) j_[name] = toJson(value);
  }
  void uuid(const char* name, const Uuid& value) { (*this)(name, value); }
  void uuids(const char* name, const std::vector<Uuid>& list) {
    if (!list.empty()) j_[name] = list;
  }
  void attributeFilters(const char* name, const reference::AttributeFilterList& list) {
    if (!list.empty()) j_[name] = toJson(reference::toList(list));
  }

 private:
  Json& j_;
};

const char* actionName(reference::ActionState state) {
  switch (state) {
    case reference::ActionState::Open:
      return "open";
    case reference::ActionState::Closed:
      return "closed";
    default:
      return "none";
  }
}

}  // namespace

Json storeObject(const Object& o) {
  CompactRecords compact;
  Json j = Json::object();
  Writer w(j);
  j["UUID"] = o.uuid;
  j["Type"] = o.type;
  w("Name", o.name);
  w("Environment", o.environment, std::string(reference::kDefaultEnvironment));
  w("owner", o.owner);
  w("attributes", o.attributes);
  w("milestones", o.milestones);
  if (o.currentFilter) {
    const auto& f = *o.currentFilter;
    j["currentFilter"] = Json{{"filter", toJson(f.filter)},
                              {"mode", f.mode},
                              {"filter150", f.filter150},
                              {"hideUnsolved", f.hideUnsolved}};
  }
  if (o.is(kind::ConfiguredView)) w("productType", o.productType);
  if (o.is(kind::ProductType)) {
    w.uuids("typedefSpecs", o.typedefSpecs);
    w.uuids("authorisedSpecs", o.authorisedSpecs);
  }
  if (o.is(kind::ProductType) || o.is(kind::ProductSpecification)) w("applicability", o.applicability);
  if (o.is(kind::ProductSpecification)) specificationMembers(w, o);
  if (o.is(kind::ConfigHandler)) {
    j["id"] = o.handler.id;
    handlerMembers(w, o);
  }
  if (o.is(kind::Modification)) {
    modificationMembers(w, o);
    if (o.modification.action != reference::ActionState::None)
      j["action"] = actionName(o.modification.action);
  }
  return j;
}

namespace {

// Follows one kind of link (owner, parent modification) from each object and reports the first
// cycle as "a -> b -> a". Every object is walked once: a chain known to end stays known.
class CycleFinder {
 public:
  template <class Next>
  std::string cycleFrom(const Uuid& start, Next next) {
    std::vector<Uuid> path;
    for (Uuid at = start; !at.empty() && !ends_.count(at); at = next(at)) {
      if (auto again = std::find(path.begin(), path.end(), at); again != path.end()) {
        std::string text;
        for (auto it = again; it != path.end(); ++it) text += *it + " -> ";
        return text + at;
      }
      path.push_back(at);
    }
    ends_.insert(path.begin(), path.end());
    return {};
  }

 private:
  std::set<Uuid> ends_;
};

// What a store may not hold although every reference resolves: an object that owns itself or
// is owned round in a circle, a handler that is its own context node, a specification that is
// its own member or source, a circle of parent modifications, a handler version below 1. Any of
// these would make a walk over the store go round or an operation misread it.
std::string structuralFault(reference::Store& store, const Object& o, CycleFinder& owners,
                            CycleFinder& parents) {
  auto ownerOf = [&store](const Uuid& u) { return store.find(u)->owner; };
  auto parentOf = [&store](const Uuid& u) { return store.find(u)->modification.parent; };
  if (o.is(kind::ConfigHandler)) {
    if (o.handler.first == o.uuid) return "first: a handler cannot be its own context node";
    if (o.handler.second == o.uuid) return "second: a handler cannot be its own context node";
    if (o.handler.version < 1) return "version: expected a version from 1 to 2147483647";
  }
  if (o.owner == o.uuid) return "owner: the object owns itself";
  if (auto cycle = owners.cycleFrom(o.uuid, ownerOf); !cycle.empty())
    return "owner: ownership cycle " + cycle;
  if (o.is(kind::ProductSpecification)) {
    const auto& members = o.spec.members;
    if (std::find(members.begin(), members.end(), o.uuid) != members.end())
      return "members: a specification cannot be its own member";
    if (o.spec.source == o.uuid) return "source: a specification cannot be its own source";
  }
  if (o.is(kind::Modification)) {
    if (o.modification.parent == o.uuid) return "parent: the modification is its own parent";
    if (auto cycle = parents.cycleFrom(o.uuid, parentOf); !cycle.empty())
      return "parent: cycle of parent modifications " + cycle;
  }
  return {};
}

}  // namespace

void loadStore(const Json& j, reference::Store& store) {
  if (!j.is_object()) throw CaseError("", "a store is an object with its \"objects\"");
  expectMembers(j, {"dataDomain", "inWorkApproval", "filter150", "objects"}, "");
  Members m(j, "");
  m("dataDomain", store.settings.dataDomain);
  m("inWorkApproval", store.settings.inWorkApproval);
  m("filter150", store.settings.filter150);
  auto objects = j.find("objects");
  if (objects == j.end()) return;
  expectArray(*objects, "objects");
  std::vector<std::pair<std::string, Uuid>> loaded;
  for (std::size_t i = 0; i < objects->size(); ++i) {
    std::string path = indexPath("objects", i);
    Object o = readStoreObject((*objects)[i], path);
    Uuid uuid = o.uuid;
    if (!store.insert(std::move(o)))
      throw CaseError(memberPath(path, "UUID"), "UUID " + uuid + " is given twice");
    loaded.emplace_back(path, uuid);
  }
  for (const auto& [path, uuid] : loaded)
    if (auto broken = store.brokenReference(*store.find(uuid)); !broken.empty())
      throw CaseError("", memberPath(path, broken));
  CycleFinder owners, parents;
  for (const auto& [path, uuid] : loaded)
    if (auto fault = structuralFault(store, *store.find(uuid), owners, parents); !fault.empty())
      throw CaseError("", memberPath(path, fault));
}

void loadStoreFile(const std::string& file, reference::Store& store) {
  Json j = readJsonFile(file);
  try {
    loadStore(j, store);
  } catch (const CaseError& e) {
    throw std::runtime_error(file + ": " + e.what());
  }
}

}  // namespace oks::host
