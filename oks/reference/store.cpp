#include <algorithm>
#include <set>

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

Store::Store(std::uint64_t seed) : random_(seed) {}

Object* Store::find(const Uuid& uuid) {
  auto it = objects_.find(uuid);
  return it == objects_.end() ? nullptr : &it->second;
}

const Object* Store::find(const Uuid& uuid) const {
  auto it = objects_.find(uuid);
  return it == objects_.end() ? nullptr : &it->second;
}

Object* Store::find(const QEM_ProductTypes::Node& node) {
  if (node.UUID.length() > 0) return find(toHex(node.UUID));
  if (node.Name.empty()) return nullptr;
  Object* found = nullptr;
  for (const auto& uuid : order_) {
    Object& o = objects_.at(uuid);
    if (o.name != node.Name || (!node.Type.empty() && o.type != node.Type)) continue;
    if (found) return nullptr;
    found = &o;
  }
  return found;
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
  for (;;) {
    _SEQUENCE_octet octets;
    for (int half = 0; half < 2; ++half) {
      std::uint64_t bits = random_();
      for (int i = 0; i < 8; ++i) octets.append(static_cast<CORBA::Octet>(bits >> (8 * i)));
    }
    Uuid uuid = toHex(octets);
    if (!objects_.count(uuid)) return uuid;
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
  return objects_.at(uuid);
}

bool Store::insert(Object object) {
  if (object.uuid.empty() || objects_.count(object.uuid)) return false;
  Uuid uuid = object.uuid;
  Uuid owner = object.owner;
  objects_.emplace(uuid, std::move(object));
  order_.push_back(uuid);
  Object& inserted = objects_.at(uuid);
  // Objects given before their owner join its children now, in the order they came.
  for (const auto& other : order_)
    if (objects_.at(other).owner == uuid) inserted.children.push_back(other);
  if (Object* o = find(owner)) o->children.push_back(uuid);
  return true;
}

std::vector<Object*> Store::children(const Object& object, const char* type) {
  std::vector<Object*> out;
  for (const auto& uuid : object.children)
    if (Object* child = find(uuid); child && (!type || child->is(type))) out.push_back(child);
  return out;
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

int Store::depth(const Object& object) const {
  int d = 0;
  std::set<Uuid> seen{object.uuid};
  for (const Object* o = find(object.owner); o && seen.insert(o->uuid).second; o = find(o->owner)) ++d;
  return d;
}

std::vector<Object*> Store::all(const char* type) {
  std::vector<Object*> out;
  for (const auto& uuid : order_)
    if (Object& o = objects_.at(uuid); !type || o.is(type)) out.push_back(&o);
  return out;
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
    for (Object* child : children(*o)) pending.push_back(child);
    for (Object* h : all(kind::ConfigHandler))
      if (h->handler.first == o->uuid || h->handler.second == o->uuid) pending.push_back(h);
  }
  auto gone = [&removed](const Uuid& u) { return removed.count(u) > 0; };
  auto prune = [&gone](std::vector<Uuid>& list) {
    list.erase(std::remove_if(list.begin(), list.end(), gone), list.end());
  };
  for (const auto& u : removed) objects_.erase(u);
  prune(order_);
  for (auto& [key, o] : objects_) {
    prune(o.children);
    prune(o.typedefSpecs);
    prune(o.authorisedSpecs);
    prune(o.spec.members);
    if (gone(o.productType)) o.productType.clear();
    if (gone(o.spec.source)) o.spec.source.clear();
    if (gone(o.modification.parent)) o.modification.parent.clear();
  }
}

std::string Store::brokenReference(const Object& o) const {
  struct Reference {
    const char* member;
    const Uuid& target;
    const char* type;  // the type it must have; any when null
  };
  std::vector<Reference> refs{{"owner", o.owner, nullptr},
                              {"productType", o.productType, kind::ProductType},
                              {"source", o.spec.source, kind::ProductSpecification},
                              {"first", o.handler.first, nullptr},
                              {"second", o.handler.second, nullptr},
                              {"parent", o.modification.parent, kind::Modification}};
  for (const auto& u : o.typedefSpecs) refs.push_back({"typedefSpecs", u, kind::ProductSpecification});
  for (const auto& u : o.authorisedSpecs) refs.push_back({"authorisedSpecs", u, kind::ProductSpecification});
  for (const auto& u : o.spec.members) refs.push_back({"members", u, kind::ProductSpecification});
  for (const auto& r : refs) {
    if (r.target.empty()) continue;
    const Object* target = find(r.target);
    if (!target) return std::string(r.member) + ": no object " + r.target;
    if (r.type && !target->is(r.type))
      return std::string(r.member) + ": " + r.target + " is a " + target->type + ", not a " + r.type;
  }
  if (o.is(kind::ConfigHandler))
    for (const auto& r : {refs[3], refs[4]})
      if (r.target.empty()) return std::string(r.member) + ": a handler needs its two context nodes";
  return {};
}

}  // namespace oks::reference
