// The in-memory model of a product structure's configuration: objects known by their UUID, each
// with a type, a name, an environment and an owner, and what each kind of object carries.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <random>
#include <string>
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
  std::vector<Uuid> children;
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

class Store {
 public:
  // UUIDs of new objects come from a generator seeded with the seed, so a run is repeatable.
  explicit Store(std::uint64_t seed = 0x6f6b737265660001ull);

  Object* find(const Uuid& uuid);
  const Object* find(const Uuid& uuid) const;
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
  // Adds an object with its own UUID (seed data); false when the UUID is taken or empty. Its
  // owner's list of children is completed when the owner exists.
  bool insert(Object object);
  // Removes the object, everything under it, the handlers placed under it, and every reference
  // to what was removed.
  void remove(const Uuid& uuid);

  // The first reference the object holds to an object that is not there or not of the type the
  // reference needs, as "<member>: ..."; empty when every reference holds.
  std::string brokenReference(const Object& object) const;

  std::vector<Object*> children(const Object& object, const char* type = nullptr);
  // Everything under the object, depth first, in creation order.
  std::vector<Object*> descendants(const Object& object);
  // The object or its nearest owner of one of the types, or null.
  Object* ancestorOrSelf(const Object& object, std::initializer_list<const char*> types);
  // The object's depth: 0 for an object without owner.
  int depth(const Object& object) const;

  std::vector<Object*> all(const char* type = nullptr);

  // Session-wide state.
  bool filter150 = false;
  bool inWorkApproval = false;
  std::string dataDomain = "-";
  std::string currentMask;
  std::vector<std::string> environments;  // the desktop's environment stack

 private:
  Uuid newUuid();

  std::map<Uuid, Object> objects_;
  std::vector<Uuid> order_;  // creation order
  std::mt19937_64 random_;
};

}  // namespace oks::reference
