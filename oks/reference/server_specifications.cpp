// Product specifications: creation, update, retrieval, carry-over and supported copies, and the
// operations that filter or check them by effectivity.
#include <algorithm>
#include <cctype>

#include <oks/reference/reference_server.h>

namespace oks::reference {

namespace {

// The version after this one: a trailing number (of up to 15 digits) counts up, a trailing
// letter moves to the next one, anything else gets a "2" appended.
std::string nextVersion(const std::string& version) {
  std::size_t digits = version.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(version[digits - 1]))) --digits;
  if (digits < version.size() && version.size() - digits <= 15)
    return version.substr(0, digits) + std::to_string(std::stoll(version.substr(digits)) + 1);
  if (!version.empty()) {
    char last = version.back();
    if ((last >= 'A' && last < 'Z') || (last >= 'a' && last < 'z'))
      return version.substr(0, version.size() - 1) + static_cast<char>(last + 1);
  }
  return version + "2";
}

bool sameSpecification(Store& store, const Object& owner, const std::string& name,
                       const std::string& version) {
  auto specs = store.children(owner, kind::ProductSpecification);
  return std::any_of(specs.begin(), specs.end(),
                     [&](const Object* s) { return s->name == name && s->spec.version == version; });
}

}  // namespace

bool ReferenceServer::specificationsNamed(const NodeSeq& nodes, std::vector<Uuid>& specs) {
  std::vector<Object*> found;
  if (!store_.findEach(nodes, found, kind::ProductSpecification)) return false;
  for (Object* s : found)
    if (std::find(specs.begin(), specs.end(), s->uuid) == specs.end()) specs.push_back(s->uuid);
  return true;
}

HRESULT ReferenceServer::getProdSpec(const XNode& owner, NodeSeq*& specs, QEMConfig::NormalValueSeq*& values,
                                     ZORUnicodeString& firstText,
                                     const QEMConfig::NormalValueSeq& inputValues,
                                     const ZORUnicodeString& domain, unsigned char& hideUnsolvedMode,
                                     QEMConfig::MultiCOFilter*& filter, AttributeFilters*& criteria,
                                     ZORUnicodeString& secondText, unsigned char& caseSensitive) {
  Object* o = store_.find(owner);
  if (!o) return E_FAIL;
  NodeSeq found;
  for (Object* s : specificationsOf(*o))
    if (effectiveUnder(*s, inputValues, domain.str(), *o)) found.append(nodeOf(*s));
  give(specs, std::move(found));
  if (!o->is(kind::ProductSpecification)) {
    // Another object answers with its current filter and no values of its own.
    CurrentFilter current = o->currentFilter.value_or(CurrentFilter{});
    give(values, QEMConfig::NormalValueSeq{});
    hideUnsolvedMode = current.hideUnsolved;
    return give(filter, current.filter);
  }
  const SpecificationData& d = o->spec;
  give(values, d.values);
  firstText = d.domain;
  hideUnsolvedMode = d.hideUnsolved;
  give(filter, d.filter);
  give(criteria, toList(d.criteria));
  secondText = d.criteriaType;
  caseSensitive = d.caseSensitive;
  return S_OK;
}

HRESULT ReferenceServer::addProdSpec(const XNode& first, const XNode& second, const ZORUnicodeString& version,
                                     const NodeSeq& specs, const QEMConfig::NormalValueSeq& values,
                                     const ZORUnicodeString& param5, XNode*& created,
                                     const unsigned char flag) {
  Object* owner = store_.find(first);
  if (!owner ||
      !(owner->is(kind::ProductRootClass) || owner->is(kind::ConfiguredView) || owner->is(kind::ProductType)))
    return E_FAIL;
  if (second.Name.empty()) return E_INVALIDARG;
  std::vector<Uuid> members;
  if (sameSpecification(store_, *owner, second.Name, version.str()) || !specificationsNamed(specs, members))
    return E_FAIL;
  Object& ps = store_.create(kind::ProductSpecification, second.Name, owner->uuid, environmentFor(owner));
  SpecificationData& d = ps.spec;
  d.version = version.str();
  if (second.Type != kind::ProductSpecification) d.specType = second.Type;
  d.members = std::move(members);
  d.values = values;
  d.domain = param5.str();
  d.carryOver = flag != 0;
  return give(created, xnodeOf(ps));
}

HRESULT ReferenceServer::setProdSpec(const XNode& owner, const NodeSeq& specs,
                                     const QEMConfig::NormalValueSeq& values, const ZORUnicodeString& domain,
                                     const unsigned char hideUnsolvedMode,
                                     const QEMConfig::MultiCOFilter& filter, const AttributeFilters* criteria,
                                     const unsigned char caseSensitive,
                                     const ZORUnicodeString& criteriaType) {
  Object* ps = store_.find(owner, kind::ProductSpecification);
  if (!ps) return E_FAIL;
  std::vector<Uuid> members;
  if (!specificationsNamed(specs, members)) return E_FAIL;
  if (std::find(members.begin(), members.end(), ps->uuid) != members.end()) return E_INVALIDARG;
  SpecificationData& d = ps->spec;
  d.members = std::move(members);
  d.values = values;
  d.domain = domain.str();
  d.hideUnsolved = hideUnsolvedMode;
  d.filter = filter;
  d.criteria = fromList(criteria);
  d.caseSensitive = caseSensitive;
  d.criteriaType = criteriaType.str();
  return S_OK;
}

HRESULT ReferenceServer::filterSpecs(const Node& object, const QEMConfig::NormalValueSeq& values,
                                     const ZORUnicodeString& domain, const int& specOnly, const NodeSeq& tree,
                                     NodeSeq*& filtered) {
  Object* context = store_.find(object);
  if (!context) return E_FAIL;
  NodeSeq kept;
  for (const auto& n : tree) {
    Object* s = store_.find(n, kind::ProductSpecification);
    bool keep = s ? effectiveUnder(*s, values, domain.str(), *context) : specOnly == 0;
    if (keep) kept.append(n);
  }
  return give(filtered, std::move(kept));
}

HRESULT ReferenceServer::rbcValidate(const Node& object, const QEMConfig::NormalValueSeq& values,
                                     const ZORUnicodeString& domain, NodeSeq& specs, Node*& outcome) {
  Object* context = store_.find(object);
  if (!context) return E_FAIL;
  NodeSeq kept;
  std::vector<std::string> rejected;
  for (const auto& n : specs) {
    Object* s = store_.find(n, kind::ProductSpecification);
    if (s && effectiveUnder(*s, values, domain.str(), *context))
      kept.append(n);
    else
      rejected.push_back(s ? s->name : n.Name);
  }
  CORBA::Long accepted = static_cast<CORBA::Long>(kept.length());
  specs = std::move(kept);
  return give(outcome, outcomeNode(*context, "Accepted", CORBA::Any(std::int64_t{accepted}), rejected));
}

Object& ReferenceServer::copySpecification(const Object& source, Object& owner, const std::string& version) {
  SpecificationData data = source.spec;
  QEMConfig::DomainEffectivitySeq applicability = source.applicability;
  std::string name = source.name;
  Uuid sourceUuid = source.uuid;
  Object& copy = store_.create(kind::ProductSpecification, name, owner.uuid, environmentFor(&owner));
  copy.spec = std::move(data);
  copy.spec.version = version;
  copy.spec.carryOver = false;
  copy.spec.supported = false;
  copy.spec.source = sourceUuid;
  copy.applicability = std::move(applicability);
  return copy;
}

HRESULT ReferenceServer::addCOProdSpec(const XNodeSeq& sources, int carryOver, XNode*& created) {
  Object* source = sources.length() ? store_.find(sources[0], kind::ProductSpecification) : nullptr;
  Object* target = sources.length() > 1 ? store_.find(sources[1])
                   : source             ? store_.find(source->owner)
                                        : nullptr;
  if (!source || !target) return E_FAIL;
  std::string version = nextVersion(source->spec.version);
  while (sameSpecification(store_, *target, source->name, version)) version = nextVersion(version);
  Object& copy = copySpecification(*source, *target, version);
  copy.spec.carryOver = carryOver != 0;
  if (!copy.spec.carryOver) {
    // Without carrying over, the new version keeps the structure and starts without effectivity.
    copy.spec.values = {};
    copy.spec.domain.clear();
    copy.applicability = {};
  }
  return give(created, xnodeOf(copy));
}

HRESULT ReferenceServer::addSupportedProdSpec(const XNodeSeq& sources, XNode*& created) {
  if (sources.length() < 2) return E_INVALIDARG;
  Object* source = store_.find(sources[0], kind::ProductSpecification);
  Object* target = store_.find(sources[1]);
  if (!source || !target || target->is(kind::Modification) || target->is(kind::ChangeObject) ||
      sameSpecification(store_, *target, source->name, source->spec.version))
    return E_FAIL;
  Object& copy = copySpecification(*source, *target, source->spec.version);
  copy.spec.supported = true;
  return give(created, xnodeOf(copy));
}

HRESULT ReferenceServer::carryOverPSExists(const XNodeSeq& nodes, unsigned char& exists) {
  std::vector<Object*> sources;
  if (!store_.findEach(nodes, sources, kind::ProductSpecification)) return E_FAIL;
  exists = 0;
  for (Object* source : sources)
    for (Object* copy : store_.linkedTo(Link::Source, *source, kind::ProductSpecification))
      if (copy->spec.carryOver) exists = 1;
  return S_OK;
}

HRESULT ReferenceServer::isCarryOver(const XNode& node, unsigned char& carryOver) {
  Object* s = store_.find(node, kind::ProductSpecification);
  if (!s) return E_FAIL;
  carryOver = s->spec.carryOver ? 1 : 0;
  return S_OK;
}

HRESULT ReferenceServer::initSpecs(const Node& configurable, const NodeSeq& selected, NodeSeq*& specs) {
  Object* c = store_.find(configurable);
  if (!c) return E_FAIL;
  std::vector<Object*> scope;
  if (!store_.findEach(selected, scope)) return E_FAIL;
  if (scope.empty()) scope.push_back(c);
  std::vector<Object*> found;
  for (Object* o : scope)
    for (Object* s : specificationsOf(*o))
      if (std::find(found.begin(), found.end(), s) == found.end()) found.push_back(s);
  NodeSeq nodes;
  for (Object* s : found) nodes.append(nodeOf(*s));
  return give(specs, std::move(nodes));
}

HRESULT ReferenceServer::verifySpecs(const Node& configurable, const NodeSeq& selected,
                                     const NodeSeq& selectedSpecs, Node*& outcome) {
  Object* c = store_.find(configurable);
  if (!c) return E_FAIL;
  std::vector<Object*> objects;
  if (!store_.findEach(selected, objects)) return E_FAIL;
  std::vector<Object*> scope = specificationsOf(*c);
  for (Object* o : objects) {
    auto more = specificationsOf(*o);
    scope.insert(scope.end(), more.begin(), more.end());
  }
  std::vector<std::string> rejected;
  for (const auto& n : selectedSpecs) {
    Object* s = store_.find(n, kind::ProductSpecification);
    bool ok = s && std::find(scope.begin(), scope.end(), s) != scope.end() &&
              std::all_of(objects.begin(), objects.end(), [&](const Object* o) {
                MilestoneScope specNames = valueScope(*s, *c);
                MilestoneScope objectNames = valueScope(*o, *c);
                return intersects(effectivityIn(holdingsOf(*s), "").terms, specNames.lookup(),
                                  effectivityIn(holdingsOf(*o), "").terms, objectNames.lookup());
              });
    if (!ok) rejected.push_back(s ? s->name : n.Name);
  }
  return give(outcome, outcomeNode(*c, "Verified", CORBA::Any(rejected.empty()), rejected));
}

HRESULT ReferenceServer::deletePS(const Node& node) {
  Object* s = store_.find(node, kind::ProductSpecification);
  if (!s) return E_FAIL;
  store_.remove(s->uuid);
  return S_OK;
}

HRESULT ReferenceServer::getPCSpecTree(const Node& node, const QEMConfig::NormalValueSeq& values,
                                       const ZORUnicodeString& domain, NodeSeq*& nodes) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  NodeSeq tree;
  tree.append(nodeOf(*o));
  for (Object* s : specificationsOf(*o))
    if (effectiveUnder(*s, values, domain.str(), *o)) tree.append(nodeOf(*s));
  return give(nodes, std::move(tree));
}

HRESULT ReferenceServer::getAllEffectivities(const Node& param0, const Node& param1,
                                             QEMConfig::NormalValueSeq* values) {
  Object* first = store_.find(param0);
  Object* second = store_.find(param1);
  if (!first || !second) return E_FAIL;
  if (!values) return S_OK;
  std::vector<Object*> seen;
  for (Object* o : {first, second})
    for (Object* s : specificationsOf(*o)) {
      if (std::find(seen.begin(), seen.end(), s) != seen.end()) continue;
      seen.push_back(s);
      for (const auto& v : s->spec.values) values->append(v);
    }
  return S_OK;
}

}  // namespace oks::reference
