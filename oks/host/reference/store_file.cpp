#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <stdexcept>
#include <unordered_map>

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

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// The first fault found in one pass, by the place it names: object (its number in the file),
// then rank within it.
class FirstFault {
 public:
  void offer(std::uint32_t object, std::uint32_t rank, std::string fault) {
    if (fault.empty()) return;
    if (!fault_.empty() && std::pair(object, rank) >= std::pair(object_, rank_)) return;
    object_ = object;
    rank_ = rank;
    fault_ = std::move(fault);
  }
  void raise() const {
    if (!fault_.empty()) throw CaseError("", memberPath(indexPath("objects", object_), fault_));
  }

 private:
  std::uint32_t object_ = 0, rank_ = 0;
  std::string fault_;
};

// What the loader keeps of the objects it has written, to check what refers to what once every
// object is in: their UUIDs and types, the owner and parent modification of each (as object
// numbers, kNone when outside the file), and the references it could not yet resolve. The
// objects themselves are in the database only.
class LoadedObjects {
 public:
  explicit LoadedObjects(reference::StoreBackend& backend) : backend_(backend) {}

  // Adds the object as number size(); false when the file already gave its UUID.
  bool add(const Object& o) {
    auto [at, added] = numbers_.emplace(o.uuid, static_cast<std::uint32_t>(uuids_.size()));
    if (!added) return false;
    uuids_.push_back(&at->first);
    types_.push_back(o.type);
    owners_.push_back(kNone);
    parents_.push_back(kNone);
    return true;
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(uuids_.size()); }

  // Checks the references of the last object added, as far as the objects added so far tell;
  // the rest waits for resolveLater.
  void references(const Object& o, FirstFault& broken) {
    std::uint32_t n = size() - 1;
    auto refs = reference::referencesOf(o);
    std::uint32_t rank = 0;
    for (const auto& r : refs) {
      ++rank;
      if (r.target.empty()) continue;
      if (auto it = numbers_.find(r.target); it != numbers_.end())
        broken.offer(n, rank, reference::referenceFault(r, &types_[it->second]));
      else
        pending_.push_back({n, rank, r.member, r.type, r.target});
    }
    broken.offer(n, rank + 1, reference::missingContext(o));
  }

  // Resolves the references to objects later in the file, or already in the store, and the
  // links to objects later in the file.
  void resolveLater(FirstFault& broken) {
    for (const auto& p : pending_) {
      reference::Reference r{p.member, p.target, p.type};
      if (auto it = numbers_.find(p.target); it != numbers_.end()) {
        broken.offer(p.object, p.rank, reference::referenceFault(r, &types_[it->second]));
      } else {
        auto stored = backend_.byUuid(p.target);
        std::string type = stored ? backend_.decode(*stored).type : std::string();
        broken.offer(p.object, p.rank, reference::referenceFault(r, stored ? &type : nullptr));
      }
    }
    pending_.clear();
    for (const auto& l : pendingLinks_)
      if (auto it = numbers_.find(l.target); it != numbers_.end()) (*l.links)[l.object] = it->second;
    pendingLinks_.clear();
  }

  // Keeps the owner and the parent modification of the last object added, for the cycle search.
  void link(const Uuid& owner, const Uuid& parent) {
    std::uint32_t n = size() - 1;
    owners_[n] = later(n, owner, owners_);
    parents_[n] = later(n, parent, parents_);
  }
  const std::vector<std::uint32_t>& owners() const { return owners_; }
  const std::vector<std::uint32_t>& parents() const { return parents_; }
  const Uuid& uuid(std::uint32_t object) const { return *uuids_[object]; }
  bool is(std::uint32_t object, const char* type) const { return types_[object] == type; }

 private:
  // The number of the object, or kNone with the link kept for resolveLater.
  std::uint32_t later(std::uint32_t object, const Uuid& uuid, std::vector<std::uint32_t>& links) {
    if (uuid.empty()) return kNone;
    if (auto it = numbers_.find(uuid); it != numbers_.end()) return it->second;
    pendingLinks_.push_back({object, uuid, &links});
    return kNone;
  }
  struct Pending {
    std::uint32_t object, rank;
    const char* member;
    const char* type;
    Uuid target;
  };
  reference::StoreBackend& backend_;
  std::unordered_map<Uuid, std::uint32_t> numbers_;
  std::vector<const Uuid*> uuids_;
  std::vector<std::string> types_;
  std::vector<std::uint32_t> owners_, parents_;
  std::vector<Pending> pending_;
  struct PendingLink {
    std::uint32_t object;
    Uuid target;
    std::vector<std::uint32_t>* links;
  };
  std::vector<PendingLink> pendingLinks_;
};

// Follows one kind of link (owner, parent modification) from each object and reports the first
// cycle as "a -> b -> a". Every object is walked once: a chain known to end stays known.
class CycleFinder {
 public:
  CycleFinder(const LoadedObjects& objects, const std::vector<std::uint32_t>& next)
      : objects_(objects), next_(next), state_(next.size(), State::Unknown) {}

  std::string cycleFrom(std::uint32_t start) {
    std::vector<std::uint32_t> path;
    for (std::uint32_t at = start; at != kNone && state_[at] != State::Ends; at = next_[at]) {
      if (state_[at] == State::OnPath) {
        std::string text;
        for (auto it = std::find(path.begin(), path.end(), at); it != path.end(); ++it)
          text += objects_.uuid(*it) + " -> ";
        return text + objects_.uuid(at);
      }
      state_[at] = State::OnPath;
      path.push_back(at);
    }
    for (auto at : path) state_[at] = State::Ends;
    return {};
  }

 private:
  enum class State : std::uint8_t { Unknown, OnPath, Ends };
  const LoadedObjects& objects_;
  const std::vector<std::uint32_t>& next_;
  std::vector<State> state_;
};

// What a store may not hold although every reference resolves, as far as the object alone tells:
// a handler that is its own context node or of a version below 1, an object that owns itself
// (before: the ownership cycles), a specification that is its own member or source, a
// modification that is its own parent (after them). Any of these would make a walk over the store
// go round or an operation misread it.
std::pair<std::string, std::string> selfFaults(const Object& o) {
  std::string before, after;
  if (o.is(kind::ConfigHandler)) {
    if (o.handler.first == o.uuid)
      before = "first: a handler cannot be its own context node";
    else if (o.handler.second == o.uuid)
      before = "second: a handler cannot be its own context node";
    else if (o.handler.version < 1)
      before = "version: expected a version from 1 to 2147483647";
  }
  if (before.empty() && o.owner == o.uuid) before = "owner: the object owns itself";
  if (o.is(kind::ProductSpecification)) {
    const auto& members = o.spec.members;
    if (std::find(members.begin(), members.end(), o.uuid) != members.end())
      after = "members: a specification cannot be its own member";
    else if (o.spec.source == o.uuid)
      after = "source: a specification cannot be its own source";
  }
  if (o.is(kind::Modification) && o.modification.parent == o.uuid)
    after = "parent: the modification is its own parent";
  return {before, after};
}

// Writes one object of the file into the database; false when its UUID is taken there already.
bool writeObject(reference::StoreBackend& backend, const Object& o) {
  try {
    backend.insert(o, backend.encode(o));
    return true;
  } catch (const std::runtime_error&) {
    if (backend.exists(o.uuid)) return false;
    throw;
  }
}

// Loads the objects of a store file one by one: each goes into the database as it is read, and
// what the checks need of it is kept apart. Faults are reported as a malformed or repeated object
// first, then the first broken reference, then the first cycle or self-reference, each in the
// order of the file.
class Loader {
 public:
  explicit Loader(reference::Store& store) : backend_(store.backend()), loaded_(backend_) {}

  void object(const Json& j, std::size_t index) {
    std::string path = indexPath("objects", index);
    Object o = readStoreObject(j, path);
    if (!loaded_.add(o) || !writeObject(backend_, o))
      throw CaseError(memberPath(path, "UUID"), "UUID " + o.uuid + " is given twice");
    loaded_.references(o, broken_);
    loaded_.link(o.owner, o.modification.parent);
    if (auto faults = selfFaults(o); !faults.first.empty() || !faults.second.empty())
      selfFaulty_.emplace(loaded_.size() - 1, std::move(faults));
  }

  // Once every object is in: what refers to what.
  void check() {
    loaded_.resolveLater(broken_);
    broken_.raise();
    CycleFinder owners(loaded_, loaded_.owners()), parents(loaded_, loaded_.parents());
    for (std::uint32_t n = 0; n < loaded_.size(); ++n) {
      auto self = selfFaulty_.find(n);
      std::string fault = self != selfFaulty_.end() ? self->second.first : std::string();
      if (fault.empty())
        if (auto cycle = owners.cycleFrom(n); !cycle.empty()) fault = "owner: ownership cycle " + cycle;
      if (fault.empty() && self != selfFaulty_.end()) fault = self->second.second;
      if (fault.empty() && loaded_.is(n, kind::Modification))
        if (auto cycle = parents.cycleFrom(n); !cycle.empty())
          fault = "parent: cycle of parent modifications " + cycle;
      if (!fault.empty()) throw CaseError("", memberPath(indexPath("objects", n), fault));
    }
  }

 private:
  reference::StoreBackend& backend_;
  LoadedObjects loaded_;
  FirstFault broken_;
  std::map<std::uint32_t, std::pair<std::string, std::string>> selfFaulty_;
};

// The settings of the store file into the store; its objects, or null when it gives none.
const Json* readSettings(const Json& j, reference::Store& store) {
  if (!j.is_object()) throw CaseError("", "a store is an object with its \"objects\"");
  expectMembers(j, {"dataDomain", "inWorkApproval", "filter150", "objects"}, "");
  Members m(j, "");
  m("dataDomain", store.settings.dataDomain);
  m("inWorkApproval", store.settings.inWorkApproval);
  m("filter150", store.settings.filter150);
  auto objects = j.find("objects");
  if (objects == j.end()) return nullptr;
  expectArray(*objects, "objects");
  return &*objects;
}

}  // namespace

void loadStore(const Json& j, reference::Store& store) {
  const Json* objects = readSettings(j, store);
  if (!objects) return;
  Loader loader(store);
  for (std::size_t i = 0; i < objects->size(); ++i) loader.object((*objects)[i], i);
  loader.check();
}

void loadStoreFile(const std::string& file, reference::Store& store) {
  // The objects are loaded as the parser completes each, so that the file's tree is never whole
  // in memory; the settings (and what else the file holds) are read once it is parsed.
  Loader loader(store);
  ElementSink sink{"objects", [&loader](const Json& j, std::size_t i) { loader.object(j, i); }};
  Json j = readJsonFile(file, &sink);
  try {
    readSettings(j, store);
    loader.check();
  } catch (const CaseError& e) {
    throw std::runtime_error(file + ": " + e.what());
  }
}

void importStoreFile(const std::string& file, reference::StoreBackend& database) {
  reference::Store store(database);
  store.begin();
  loadStoreFile(file, store);
  store.commit();
}

}  // namespace oks::host
