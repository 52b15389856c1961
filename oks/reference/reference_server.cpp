// The model as the operations see it, modifications, session services and the desktop.
#include <set>

#include <oks/reference/reference_server.h>

namespace oks::reference {

namespace {

QEM_ProductTypes::ProductAttribute attribute(const std::string& name, CORBA::Any::Value value) {
  return {name, CORBA::Any(std::move(value))};
}

const char* actionText(ActionState state) {
  switch (state) {
    case ActionState::Open:
      return "open";
    case ActionState::Closed:
      return "closed";
    default:
      return "none";
  }
}

// What the node of an object shows of it, before the values written on it.
std::vector<QEM_ProductTypes::ProductAttribute> described(const Object& o) {
  if (o.is(kind::ProductSpecification))
    return {attribute("Version", o.spec.version), attribute("Domain", o.spec.domain),
            attribute("CarryOver", o.spec.carryOver), attribute("Supported", o.spec.supported)};
  if (o.is(kind::ConfigHandler))
    return {attribute("Id", o.handler.id), attribute("Description", o.handler.description),
            attribute("Version", std::to_string(o.handler.version))};
  if (o.is(kind::Modification))
    return {attribute("ECO", o.modification.eco),
            attribute("Action", std::string(actionText(o.modification.action)))};
  return {};
}

}  // namespace

AttributeFilters toList(const AttributeFilterList& filters) {
  AttributeFilters list;
  for (const auto& f : filters) list.Append(new QEMIQAttributeFilterObject(f));
  return list;
}

AttributeFilterList fromList(const AttributeFilters* list) {
  AttributeFilterList filters;
  for (int i = 1; list && i <= list->Size(); ++i) filters.push_back(*(*list)[i]);
  return filters;
}

Node ReferenceServer::nodeOf(const Object& o) {
  Node n;
  fromHex(o.uuid, n.UUID);
  n.Name = o.name;
  n.Type = o.type;
  if (o.is(kind::ProductSpecification)) {
    n.DerivedType = o.spec.specType;
    fromHex(o.spec.source, n.Ref);
  }
  if (o.is(kind::ConfiguredView)) fromHex(o.productType, n.Ref);
  n.Level = static_cast<CORBA::Short>(store_.depth(o));
  n.ChildrenCount = static_cast<CORBA::Long>(store_.childCount(o));
  std::set<std::string> written;
  for (const auto& a : o.attributes) written.insert(a.Name);
  for (auto& a : described(o))
    if (!written.count(a.Name)) n.AttributeList.append(std::move(a));
  for (const auto& a : o.attributes) n.AttributeList.append(a);
  return n;
}

XNode ReferenceServer::xnodeOf(const Object& o) {
  XNode x;
  x.Name = o.name;
  x.Type = o.type;
  x.Environment = o.environment;
  x.Nodes.append(nodeOf(o));
  return x;
}

std::string ReferenceServer::environmentFor(const Object* owner) const {
  if (!store_.environments.empty() && !store_.environments.back().empty()) return store_.environments.back();
  if (owner && !owner->environment.empty()) return owner->environment;
  return kDefaultEnvironment;
}

Holdings ReferenceServer::holdingsOf(const Object& o) {
  static const QEMConfig::NormalValueSeq kNoValues;
  return {o.is(kind::ProductSpecification) ? o.spec.values : kNoValues, o.spec.domain, o.applicability};
}

namespace {

// The store as the effectivity engine reads it.
class StoreChain : public OwnerChain {
 public:
  explicit StoreChain(Store& store) : store_(store) {}
  std::string ownerOf(const std::string& object) const override {
    const Object* o = store_.find(object);
    return o ? o->owner : std::string();
  }
  QEMConfig::MileStoneValueSeq milestonesOn(const std::string& object) const override {
    const Object* o = store_.find(object);
    return o ? o->milestones : QEMConfig::MileStoneValueSeq{};
  }

 private:
  Store& store_;
};

}  // namespace

MilestoneScope ReferenceServer::valueScope(const Object& object, const Object& context) {
  return valueMilestones(StoreChain(store_), object.uuid, context.uuid);
}

MilestoneScope ReferenceServer::filterScope(const Object& context) {
  return filterMilestones(StoreChain(store_), context.uuid);
}

bool ReferenceServer::effectiveUnder(const Object& o, const QEMConfig::NormalValueSeq& filter,
                                     const std::string& domain, const Object& context) {
  MilestoneScope names = valueScope(o, context);
  MilestoneScope filterNames = filterScope(context);
  return oks::reference::effectiveUnder(effectivityIn(holdingsOf(o), domain), names.lookup(), filter,
                                        filterNames.lookup());
}

std::vector<Object*> ReferenceServer::specificationsOf(const Object& o) {
  std::vector<Object*> out;
  if (o.is(kind::ProductSpecification)) {
    for (const auto& u : o.spec.members)
      if (Object* member = store_.find(u)) out.push_back(member);
    return out;
  }
  for (Object* d : store_.descendants(o))
    if (d->is(kind::ProductSpecification)) out.push_back(d);
  return out;
}

ZORBaseUnknown_var ReferenceServer::handleOf(const Object& o) {
  unsigned mask = ServerObject::FactoryObject;
  if (o.is(kind::Modification)) mask |= ServerObject::Modification;
  if (o.is(kind::ProductRootClass) || o.is(kind::ConfiguredView)) mask |= ServerObject::ConfigurableObject;
  if (o.is(kind::ConfigHandler)) mask |= ServerObject::ConfigHandler;
  return makeServerObject(mask, o.uuid);
}

Object* ReferenceServer::objectOf(const ServerObject* handle) {
  return handle ? store_.find(handle->identity()) : nullptr;
}

Node ReferenceServer::outcomeNode(const Object& object, const char* verdictName, CORBA::Any verdict,
                                  const std::vector<std::string>& rejected) {
  Node n = nodeOf(object);
  std::string names;
  for (const auto& r : rejected) names += (names.empty() ? "" : ", ") + r;
  n.AttributeList.append({verdictName, std::move(verdict)});
  n.AttributeList.append(attribute("Rejected", names));
  return n;
}

// --- Modifications ---------------------------------------------------------------------------

HRESULT ReferenceServer::deleteModification(_IDL_SEQUENCE_octet uuid) {
  Object* m = store_.find(toHex(uuid));
  if (!m || !m->is(kind::Modification)) return E_FAIL;
  store_.remove(m->uuid);
  return S_OK;
}

HRESULT ReferenceServer::IsECOMod(ZORICfgModification_var& modification) {
  Object* m = objectOf(modification);
  if (!m || !m->is(kind::Modification)) return E_FAIL;
  return m->modification.eco ? S_OK : S_FALSE;
}

HRESULT ReferenceServer::RetrieveModOwner(const ZORICfgModification_var modification,
                                          ZORListValZORUnicodeString& owner) {
  Object* m = objectOf(modification);
  if (!m || !m->is(kind::Modification)) return E_FAIL;
  const auto& d = m->modification;
  if (d.user.empty() && d.organization.empty() && d.project.empty()) return E_FAIL;
  owner.Append(d.user);
  owner.Append(d.organization);
  owner.Append(d.project);
  return S_OK;
}

HRESULT ReferenceServer::RetrieveActionFromModif(const ZORICfgModification_var modification,
                                                 ZORIQemAFLAction_var& action) {
  Object* m = objectOf(modification);
  if (!m || !m->is(kind::Modification)) return E_FAIL;
  if (m->modification.action == ActionState::None) return S_FALSE;
  action = ZORIQemAFLAction_var(makeServerObject(ServerObject::Action, m->uuid));
  return S_OK;
}

HRESULT ReferenceServer::GetParent(const ServerObject& modification, ZORICfgModification_var& parent) {
  Object* m = objectOf(&modification);
  if (!(modification.interfaces() & ServerObject::Modification) || !m || !m->is(kind::Modification))
    return E_FAIL;
  Object* p = store_.find(m->modification.parent);
  if (!p) return S_FALSE;
  parent = ZORICfgModification_var(handleOf(*p));
  return S_OK;
}

HRESULT ReferenceServer::IsClose(const ServerObject& action) {
  Object* m = objectOf(&action);
  if (!(action.interfaces() & ServerObject::Action) || !m || !m->is(kind::Modification)) return E_FAIL;
  switch (m->modification.action) {
    case ActionState::Closed:
      return S_OK;
    case ActionState::Open:
      return S_FALSE;
    default:
      return E_FAIL;
  }
}

// --- Session services, desktop and settings --------------------------------------------------

HRESULT ReferenceServer::isIWAppSet() { return store_.settings.inWorkApproval ? S_OK : S_FALSE; }

HRESULT ReferenceServer::setValuesOnObject(const ZORIQemFactoryObject_var& object, const XNode& values,
                                           const ZORUnicodeString& mask, CORBA::Environment&) {
  Object* o = objectOf(object);
  // The browse mask shows objects; it does not write them.
  if (!o || mask.IsEmpty() || mask == "BrowseMask") return E_FAIL;
  for (const auto& node : values.Nodes)
    for (const auto& a : node.AttributeList) {
      bool replaced = false;
      for (auto& existing : o->attributes)
        if (existing.Name == a.Name) {
          existing.Value = a.Value;
          replaced = true;
        }
      if (!replaced) o->attributes.append(a);
    }
  return S_OK;
}

ZORBaseUnknown_var ReferenceServer::GetFactoryObjectByUUID(const _SEQUENCE_octet& uuid) {
  Object* o = store_.find(toHex(uuid));
  return o ? handleOf(*o) : ZORBaseUnknown_var();
}

ApplicationObject* ReferenceServer::GetAppObjectByUUID(const _SEQUENCE_octet& uuid) {
  Object* o = store_.find(toHex(uuid));
  return o ? makeApplicationObject(o->uuid) : nullptr;
}

ApplicationObject* ReferenceServer::GetAppObjectByObject(const ZORIQemFactoryObject_var& object,
                                                         const char*) {
  Object* o = objectOf(object);
  return o ? makeApplicationObject(o->uuid) : nullptr;
}

bool ReferenceServer::ApplicationXNode(ApplicationObject* object) {
  return object && store_.find(object->identity());
}

XNode* ReferenceServer::GetOrbixXNode(ApplicationObject* object, short, short) {
  Object* o = object ? store_.find(object->identity()) : nullptr;
  return o ? new XNode(xnodeOf(*o)) : nullptr;
}

HRESULT ReferenceServer::SetCurrentMask(ZORUnicodeString mask) {
  if (mask.IsEmpty()) return E_INVALIDARG;
  store_.currentMask = mask.str();
  return S_OK;
}

ZORUnicodeString ReferenceServer::GetDataDomain() { return store_.settings.dataDomain; }

ZORIRootDesktop_var ReferenceServer::GetRootDesktop() {
  return ZORIRootDesktop_var(makeServerObject(ServerObject::Desktop, "desktop"));
}

HRESULT ReferenceServer::PushEnvironment(const ZORUnicodeString& environment) {
  store_.environments.push_back(environment.str());
  return S_OK;
}

HRESULT ReferenceServer::PopEnvironment() {
  if (store_.environments.empty()) return E_FAIL;
  store_.environments.pop_back();
  return S_OK;
}

}  // namespace oks::reference
