#include <algorithm>
#include <set>
#include <utility>

#include <oks/reference/store.h>

namespace oks::reference {

std::string toHex(const _SEQUENCE_octet& octets) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (CORBA::Octet o : octets) {
    hex += digits[o >> 4];
    hex += digits[o & 0xf];
  }
  return hex;
}

bool fromHex(const std::string& hex, _SEQUENCE_octet& octets) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (hex.size() % 2) return false;
  _SEQUENCE_octet out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int high = digit(hex[i]);
    int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    out.append(static_cast<CORBA::Octet>(high * 16 + low));
  }
  octets = out;
  return true;
}

Store::Store(StoreBackend& backend, std::optional<std::uint64_t> seed) : backend_(backend) {
  if (seed) seeded_.emplace(*seed);
  settings = kept_ = backend_.settings();
}

void Store::begin() {
  cached_.clear();
  handedOut_.clear();
  backend_.begin();
  settings = kept_ = backend_.settings();
}

void Store::commit() {
  for (auto& [uuid, entry] : cached_)
    if (std::string text = backend_.encode(*entry.object); text != entry.text)
      backend_.update(*entry.object, text);
  if (!(settings == kept_)) backend_.setSettings(settings);
  backend_.commit();
  cached_.clear();
  handedOut_.clear();
  kept_ = settings;
}

void Store::rollback() {
  cached_.clear();
  handedOut_.clear();
  backend_.rollback();
  settings = kept_;
}

Object* Store::handOut(Cached& entry) {
  if (!std::exchange(entry.handedOut, true)) handedOut_.push_back(entry.object->uuid);
  return entry.object.get();
}

Object* Store::cache(StoredObject stored) {
  auto it = cached_.find(stored.uuid);
  if (it == cached_.end()) {
    auto object = std::make_unique<Object>(backend_.decode(stored));
    std::string keys = keysOf(*object);
    Cached entry{std::move(object), std::move(stored.text), std::move(keys)};
    it = cached_.emplace(stored.uuid, std::move(entry)).first;
  }
  return handOut(it->second);
}

std::vector<Object*> Store::cacheAll(std::vector<StoredObject> stored) {
  std::vector<Object*> out;
  out.reserve(stored.size());
  for (auto& s : stored) out.push_back(cache(std::move(s)));
  return out;
}

std::string Store::keysOf(const Object& o) {
  std::string keys;
  for (const std::string* part : {&o.type, &o.name, &o.owner, &o.productType, &o.spec.source,
                                  &o.modification.parent, &o.handler.first, &o.handler.second, &o.handler.id})
    keys += *part + '\x1f';
  for (const auto* list : {&o.typedefSpecs, &o.authorisedSpecs, &o.spec.members}) {
    for (const auto& u : *list) keys += u + ',';
    keys += '\x1f';
  }
  return keys;
}

void Store::writeBack() {
  // Only what queries select by needs writing now; the rest is compared at commit.
  for (const auto& uuid : handedOut_) {
    auto it = cached_.find(uuid);
    if (it == cached_.end()) continue;
    Cached& entry = it->second;
    entry.handedOut = false;
    if (std::string keys = keysOf(*entry.object); keys != entry.keys) {
      std::string text = backend_.encode(*entry.object);
      backend_.update(*entry.object, text);
      entry.text = std::move(text);
      entry.keys = std::move(keys);
    }
  }
  handedOut_.clear();
}

Object* Store::find(const Uuid& uuid) {
  if (uuid.empty()) return nullptr;
  if (auto it = cached_.find(uuid); it != cached_.end()) return handOut(it->second);
  auto stored = backend_.byUuid(uuid);
  return stored ? cache(std::move(*stored)) : nullptr;
}

Object* Store::find(const QEM_ProductTypes::Node& node) {
  if (node.UUID.length() > 0) return find(toHex(node.UUID));
  if (node.Name.empty()) return nullptr;
  writeBack();
  auto found = backend_.byName(node.Name, node.Type, 2);
  return found.size() == 1 ? cache(std::move(found[0])) : nullptr;
}

Object* Store::find(const QEM_ProductTypes::XNode& xnode) {
  return xnode.Nodes.length() == 0 ? nullptr : find(xnode.Nodes[xnode.Nodes.length() - 1]);
}

Object* Store::find(const QEM_ProductTypes::Node& node, const char* type) {
  Object* o = find(node);
  return o && o->is(type) ? o : nullptr;
}

Object* Store::find(const QEM_ProductTypes::XNode& xnode, const char* type) {
  Object* o = find(xnode);
  return o && o->is(type) ? o : nullptr;
}

Uuid Store::newUuid() {
  static thread_local std::random_device device;
  for (;;) {
    _SEQUENCE_octet octets;
    for (int half = 0; half < 2; ++half) {
      std::uint64_t bits = seeded_ ? (*seeded_)() : (std::uint64_t{device()} << 32 | device());
      for (int i = 0; i < 8; ++i) octets.append(static_cast<CORBA::Octet>(bits >> (8 * i)));
    }
    Uuid uuid = toHex(octets);
    if (!cached_.count(uuid) && !backend_.exists(uuid)) return uuid;
  }
}

Object& Store::create(const char* type, const std::string& name, const Uuid& owner,
                      const std::string& environment) {
  Object o;
  o.uuid = newUuid();
  o.type = type;
  o.name = name;
  o.owner = owner;
  o.environment = environment;
  Uuid uuid = o.uuid;
  insert(std::move(o));
  return *find(uuid);
}

bool Store::insert(Object object) {
  if (object.uuid.empty() || find(object.uuid)) return false;
  writeBack();
  std::string text = backend_.encode(object);
  backend_.insert(object, text);
  Uuid uuid = object.uuid;
  std::string keys = keysOf(object);
  cached_.emplace(uuid,
                  Cached{std::make_unique<Object>(std::move(object)), std::move(text), std::move(keys)});
  return true;
}

std::vector<Object*> Store::children(const Object& object, const char* type) {
  return linkedTo(Link::Owner, object, type);
}

std::int64_t Store::childCount(const Object& object) {
  writeBack();
  return backend_.countOwnedBy(object.uuid);
}

std::vector<Object*> Store::linkedTo(Link link, const Object& object, const char* type) {
  writeBack();
  return cacheAll(backend_.linkedTo(link, object.uuid, type));
}

std::vector<Object*> Store::descendants(const Object& object) {
  // Depth first without recursion; an object met twice (an ownership cycle in a store that
  // escaped the loader's checks) is not walked again.
  std::vector<Object*> out;
  std::set<Uuid> seen{object.uuid};
  std::vector<std::pair<std::vector<Object*>, std::size_t>> path;
  path.emplace_back(children(object), 0);
  while (!path.empty()) {
    auto& [below, next] = path.back();
    if (next == below.size()) {
      path.pop_back();
      continue;
    }
    Object* child = below[next++];
    if (!seen.insert(child->uuid).second) continue;
    out.push_back(child);
    path.emplace_back(children(*child), 0);
  }
  return out;
}

Object* Store::ancestorOrSelf(const Object& object, std::initializer_list<const char*> types) {
  std::set<Uuid> seen;
  for (Object* o = find(object.uuid); o && seen.insert(o->uuid).second; o = find(o->owner))
    for (const char* t : types)
      if (o->is(t)) return o;
  return nullptr;
}

int Store::depth(const Object& object) {
  int d = 0;
  std::set<Uuid> seen{object.uuid};
  for (const Object* o = find(object.owner); o && seen.insert(o->uuid).second; o = find(o->owner)) ++d;
  return d;
}

void Store::remove(const Uuid& uuid) {
  Object* root = find(uuid);
  if (!root) return;
  std::set<Uuid> removed;
  std::vector<Object*> pending{root};
  // A handler needs both its context nodes: it goes with either of them.
  while (!pending.empty()) {
    Object* o = pending.back();
    pending.pop_back();
    if (!removed.insert(o->uuid).second) continue;
    for (Link link : {Link::Owner, Link::Context})
      for (Object* below : linkedTo(link, *o)) pending.push_back(below);
  }
  writeBack();
  for (const auto& u : removed) {
    backend_.erase(u);
    cached_.erase(u);
  }
  // What referred to a removed object forgets it.
  auto gone = [&removed](const Uuid& u) { return removed.count(u) > 0; };
  auto prune = [&gone](std::vector<Uuid>& list) {
    auto size = list.size();
    list.erase(std::remove_if(list.begin(), list.end(), gone), list.end());
    return list.size() != size;
  };
  auto forget = [&gone](Uuid& u) { return gone(u) ? (u.clear(), true) : false; };
  // Those kept read them into the cache; every object in it is pruned, so that one changed
  // through a pointer kept from before forgets too.
  for (const auto& u : removed) {
    for (auto& stored : backend_.listing(u)) cache(std::move(stored));
    for (Link link : {Link::ProductType, Link::Source, Link::Parent})
      for (auto& stored : backend_.linkedTo(link, u, nullptr)) cache(std::move(stored));
  }
  for (auto& [key, entry] : cached_) {
    Object& o = *entry.object;
    bool changed = prune(o.typedefSpecs) | prune(o.authorisedSpecs) | prune(o.spec.members) |
                   forget(o.productType) | forget(o.spec.source) | forget(o.modification.parent);
    if (changed) handOut(entry);
  }
  writeBack();
}

std::vector<Reference> referencesOf(const Object& o) {
  std::vector<Reference> refs{{"owner", o.owner, nullptr},
                              {"productType", o.productType, kind::ProductType},
                              {"source", o.spec.source, kind::ProductSpecification},
                              {"first", o.handler.first, nullptr},
                              {"second", o.handler.second, nullptr},
                              {"parent", o.modification.parent, kind::Modification}};
  for (const auto& u : o.typedefSpecs) refs.push_back({"typedefSpecs", u, kind::ProductSpecification});
  for (const auto& u : o.authorisedSpecs) refs.push_back({"authorisedSpecs", u, kind::ProductSpecification});
  for (const auto& u : o.spec.members) refs.push_back({"members", u, kind::ProductSpecification});
  return refs;
}

std::string referenceFault(const Reference& r, const std::string* targetType) {
  if (!targetType) return std::string(r.member) + ": no object " + r.target;
  if (r.type && *targetType != r.type)
    return std::string(r.member) + ": " + r.target + " is a " + *targetType + ", not a " + r.type;
  return {};
}

std::string missingContext(const Object& o) {
  if (!o.is(kind::ConfigHandler)) return {};
  if (o.handler.first.empty()) return "first: a handler needs its two context nodes";
  if (o.handler.second.empty()) return "second: a handler needs its two context nodes";
  return {};
}

}  // namespace oks::reference
