// The model of a product structure's configuration: objects known by their UUID, each
// with a type, a name, an environment and an owner, and what each kind of object carries.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include <oks/types/product_types.h>
#include <oks/types/qem_config.h>

namespace oks::reference {

// An object's UUID as lower-case hex of its octets.
using Uuid = std::string;

std::string toHex(const _SEQUENCE_octet& octets);
// False when the text is not an even number of hex digits.
bool fromHex(const std::string& hex, _SEQUENCE_octet& octets);

// The object types of the model, as they appear in the Type of nodes and extended nodes.
namespace kind {
inline constexpr const char* ProductRootClass = "PRC";
inline constexpr const char* ConfiguredView = "CV";
inline constexpr const char* ProductType = "PT";
inline constexpr const char* ProductSpecification = "PS";
inline constexpr const char* ConfigHandler = "CH";
inline constexpr const char* ChangeObject = "CO";
inline constexpr const char* Modification = "MOD";
}  // namespace kind

// The environment objects live in when nothing else says.
inline constexpr const char* kDefaultEnvironment = "CONFIG";

// The current filter of a node and its three modes.
struct CurrentFilter {
  QEMConfig::MultiCOFilter filter;
  int mode = 2;
  unsigned char filter150 = 0;
  unsigned char hideUnsolved = 0;
};

using AttributeFilterList = std::vector<QEMIQAttributeFilterObject>;

struct SpecificationData {
  std::string version;
  std::string specType;
  std::vector<Uuid> members;  // the specifications it is made of
  QEMConfig::NormalValueSeq values;
  std::string domain;
  unsigned char hideUnsolved = 0;
  QEMConfig::MultiCOFilter filter;
  AttributeFilterList criteria;
  unsigned char caseSensitive = 1;
  std::string criteriaType;
  bool carryOver = false;
  bool supported = false;
  Uuid source;  // the specification it was carried over from or supports
};

struct HandlerData {
  std::string id;
  std::string description;
  int version = 1;
  Uuid first;  // the two context nodes
  Uuid second;
  CurrentFilter filter;
  AttributeFilterList attributeFilters;
  std::string criterionType;
  unsigned char caseSensitive = 1;
};

enum class ActionState { None, Open, Closed };

struct ModificationData {
  std::string user;
  std::string organization;
  std::string project;
  Uuid parent;  // the parent modification
  bool eco = false;
  ActionState action = ActionState::None;
};

struct Object {
  Uuid uuid;
  std::string type;
  std::string name;
  std::string environment;
  Uuid owner;
  QEM_ProductTypes::ProductAttributeSeq attributes;  // values written on the object
  QEMConfig::MileStoneValueSeq milestones;
  std::optional<CurrentFilter> currentFilter;
  QEMConfig::DomainEffectivitySeq applicability;  // product types and specifications
  Uuid productType;                               // configured views
  std::vector<Uuid> typedefSpecs;                 // product types
  std::vector<Uuid> authorisedSpecs;
  SpecificationData spec;
  HandlerData handler;
  ModificationData modification;

  bool is(const char* t) const { return type == t; }
};

// The store-wide settings a store keeps with its objects.
struct StoreSettings {
  std::string dataDomain = "-";
  bool inWorkApproval = false;
  bool filter150 = false;
  bool operator==(const StoreSettings&) const = default;
};

// The single references an object holds that the store can follow backwards.
// Context: either context node of a handler.
enum class Link { Owner, ProductType, Source, Parent, FirstContext, SecondContext, Context };

// A reference an object holds: the member that holds it, the UUID it names (empty: none) and
// the type the object named must have (any when null).
struct Reference {
  const char* member;
  const Uuid& target;
  const char* type;
};
// Every reference of the object, in the order of its members.
std::vector<Reference> referencesOf(const Object& object);
// What is wrong with a reference, as "<member>: ...", given the type of the object it names
// (null when there is no such object); empty when it holds.
std::string referenceFault(const Reference& reference, const std::string* targetType);
// "<member>: ..." when the object is a handler without its two context nodes; else empty.
std::string missingContext(const Object& object);

// An object as kept: its UUID and its text form (StoreBackend::encode).
struct StoredObject {
  Uuid uuid;
  std::string text;
};

// Where a store keeps its objects: a database. Every lookup answers from an index; objects come
// back in creation order. Errors throw std::runtime_error with a one-line message.
class StoreBackend {
 public:
  virtual ~StoreBackend() = default;

  // One transaction: what is written between begin and commit is kept whole or not at all.
  virtual void begin() = 0;
  virtual void commit() = 0;
  virtual void rollback() = 0;

  virtual StoreSettings settings() = 0;
  virtual void setSettings(const StoreSettings& settings) = 0;

  // The text form of an object, and the object of a text form.
  virtual std::string encode(const Object& object) = 0;
  virtual Object decode(const StoredObject& stored) = 0;

  virtual std::optional<StoredObject> byUuid(const Uuid& uuid) = 0;
  // Objects of the name (and the type, unless empty), at most limit of them.
  virtual std::vector<StoredObject> byName(const std::string& name, const std::string& type, int limit) = 0;
  // Objects whose reference of that kind names the UUID (of the type, unless null).
  virtual std::vector<StoredObject> linkedTo(Link link, const Uuid& uuid, const char* type) = 0;
  // Objects whose lists (typedef, authorised, member specifications) name the UUID.
  virtual std::vector<StoredObject> listing(const Uuid& uuid) = 0;
  virtual std::int64_t countOwnedBy(const Uuid& owner) = 0;
  virtual bool exists(const Uuid& uuid) = 0;

  virtual void insert(const Object& object, const std::string& text) = 0;
  virtual void update(const Object& object, const std::string& text) = 0;
  virtual void erase(const Uuid& uuid) = 0;
};

// The model of one transaction over a backend: objects are read when an operation asks for
// them and kept while the transaction lasts, so that operations work on them in place; commit
// writes back every object that changed. A pointer the store gives stays valid until commit or
// rollback (or the object's removal). A query (children, linkedTo, a lookup by name) sees the
// changes made to the objects handed out since the previous query: an operation finds what it
// changes.
class Store {
 public:
  // UUIDs of new objects are random, or, with a seed, come from a generator seeded with it, so
  // that a run is repeatable.
  explicit Store(StoreBackend& backend, std::optional<std::uint64_t> seed = std::nullopt);

  StoreBackend& backend() { return backend_; }

  // Transactions: begin reads the settings; commit writes what changed; rollback forgets it.
  void begin();
  void commit();
  void rollback();

  Object* find(const Uuid& uuid);
  // The object of a node: by its UUID, or, when the node has none, by its name (and its type
  // when given) if exactly one object has it.
  Object* find(const QEM_ProductTypes::Node& node);
  // The object an extended node stands for: its last node's.
  Object* find(const QEM_ProductTypes::XNode& xnode);
  // The objects of every node or extended node (of the type when one is given), in order;
  // false when one is missing.
  template <class Seq>
  bool findEach(const Seq& nodes, std::vector<Object*>& objects, const char* type = nullptr) {
    for (const auto& n : nodes) {
      Object* o = type ? find(n, type) : find(n);
      if (!o) return false;
      objects.push_back(o);
    }
    return true;
  }
  // The object of a node when it has the type.
  Object* find(const QEM_ProductTypes::Node& node, const char* type);
  Object* find(const QEM_ProductTypes::XNode& xnode, const char* type);

  // A new object with a fresh UUID, under the owner (none when empty).
  Object& create(const char* type, const std::string& name, const Uuid& owner,
                 const std::string& environment);
  // Adds an object with its own UUID (seed data); false when the UUID is taken or empty.
  bool insert(Object object);
  // Removes the object, everything under it, the handlers placed under it, and every reference
  // to what was removed.
  void remove(const Uuid& uuid);

  std::vector<Object*> children(const Object& object, const char* type = nullptr);
  std::int64_t childCount(const Object& object);
  // The objects whose reference of that kind names the object, in creation order.
  std::vector<Object*> linkedTo(Link link, const Object& object, const char* type = nullptr);
  // Everything under the object, depth first, in creation order.
  std::vector<Object*> descendants(const Object& object);
  // The object or its nearest owner of one of the types, or null.
  Object* ancestorOrSelf(const Object& object, std::initializer_list<const char*> types);
  // The object's depth: 0 for an object without owner.
  int depth(const Object& object);

  // Store-wide settings (kept in the store) and the session's own state (not kept).
  StoreSettings settings;
  std::string currentMask;
  std::vector<std::string> environments;  // the desktop's environment stack

 private:
  struct Cached {
    std::unique_ptr<Object> object;
    std::string text;        // as kept in the backend
    std::string keys;        // what queries select by, as kept (keysOf)
    bool handedOut = false;  // since the last query
  };
  // What queries select objects by: type, name, the single references and the lists.
  static std::string keysOf(const Object& object);
  Object* cache(StoredObject stored);
  std::vector<Object*> cacheAll(std::vector<StoredObject> stored);
  Object* handOut(Cached& entry);
  // Writes back what the operations changed in the objects handed out since the last query,
  // so that queries see it.
  void writeBack();
  Uuid newUuid();

  StoreBackend& backend_;
  std::unordered_map<Uuid, Cached> cached_;
  std::vector<Uuid> handedOut_;
  StoreSettings kept_;
  std::optional<std::mt19937_64> seeded_;
};

}  // namespace oks::reference
