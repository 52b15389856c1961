// Configuration handlers with their versions, the current filter of nodes, and the filter-150
// mode.
#include <algorithm>
#include <limits>
#include <utility>

#include <oks/reference/reference_server.h>

namespace oks::reference {

std::vector<Object*> ReferenceServer::handlerVersions(const Uuid& first, const Uuid& second,
                                                      const std::string& id) {
  std::vector<Object*> versions;
  Object* context = store_.find(first);
  if (!context) return versions;
  for (Object* h : store_.linkedTo(Link::FirstContext, *context, kind::ConfigHandler))
    if (h->handler.second == second && h->handler.id == id) versions.push_back(h);
  std::stable_sort(versions.begin(), versions.end(),
                   [](const Object* a, const Object* b) { return a->handler.version < b->handler.version; });
  return versions;
}

Object* ReferenceServer::latestHandler(const Uuid& first, const Uuid& second, const std::string& id) {
  auto versions = handlerVersions(first, second, id);
  return versions.empty() ? nullptr : versions.back();
}

namespace {

// The latest version of every handler that has the object as one of its context nodes.
std::vector<Object*> latestHandlersOf(Store& store, const Object& context) {
  std::vector<Object*> latest;
  for (Object* h : store.linkedTo(Link::Context, context, kind::ConfigHandler)) {
    const HandlerData& d = h->handler;
    auto same = std::find_if(latest.begin(), latest.end(), [&d](const Object* o) {
      return o->handler.first == d.first && o->handler.second == d.second && o->handler.id == d.id;
    });
    if (same == latest.end())
      latest.push_back(h);
    else if ((*same)->handler.version < d.version)
      *same = h;
  }
  return latest;
}

}  // namespace

HRESULT ReferenceServer::addCH(const Node& first, const Node& second, const QEMConfig::MultiCOFilter& filter,
                               const ZORUnicodeString& id, const ZORUnicodeString& description,
                               const ZORUnicodeString& mode, const int& filterMode,
                               const unsigned char& filter150Mode, const unsigned char& hideUnsolvedMode,
                               const ZORUnicodeString& criterionType, const unsigned char caseSensitive,
                               const AttributeFilters* attributeFilters, XNode*& handler) {
  Object* f = store_.find(first);
  Object* s = store_.find(second);
  if (!f || !s) return E_FAIL;
  if (id.IsEmpty()) return E_INVALIDARG;
  Object* existing = latestHandler(f->uuid, s->uuid, id.str());
  Object* h = nullptr;
  if (mode.IsEmpty() || mode == "ADD") {
    if (existing) return E_FAIL;
    h = &store_.create(kind::ConfigHandler, id.str(), s->uuid, environmentFor(s));
    h->handler.id = id.str();
    h->handler.first = f->uuid;
    h->handler.second = s->uuid;
  } else if (mode == "EDIT") {
    if (!existing) return E_FAIL;
    h = existing;
  } else {
    return E_INVALIDARG;
  }
  HandlerData& d = h->handler;
  d.description = description.str();
  d.filter = CurrentFilter{filter, filterMode, filter150Mode, hideUnsolvedMode};
  d.attributeFilters = fromList(attributeFilters);
  d.criterionType = criterionType.str();
  d.caseSensitive = caseSensitive;
  return give(handler, xnodeOf(*h));
}

HRESULT ReferenceServer::getCHFilter(const Node& first, const Node& second, const ZORUnicodeString& name,
                                     QEMConfig::MultiCOFilter*& filter, int& filterMode,
                                     unsigned char& filter150Mode, unsigned char& hideUnsolvedMode,
                                     ObjectQueries*&, AttributeFilters*& attributeFilters,
                                     ZORUnicodeString& criterionType, unsigned char& caseSensitive) {
  Object* f = store_.find(first);
  Object* s = store_.find(second);
  Object* h = f && s ? latestHandler(f->uuid, s->uuid, name.str()) : nullptr;
  if (!h) return E_FAIL;
  const HandlerData& d = h->handler;
  give(filter, d.filter.filter);
  filterMode = d.filter.mode;
  filter150Mode = d.filter.filter150;
  hideUnsolvedMode = d.filter.hideUnsolved;
  give(attributeFilters, toList(d.attributeFilters));
  criterionType = d.criterionType;
  caseSensitive = d.caseSensitive;
  return S_OK;
}

HRESULT ReferenceServer::getCHList(const XNodeSeq& in, XNodeSeq*& out) {
  std::vector<Object*> objects;
  if (!store_.findEach(in, objects)) return E_FAIL;
  XNodeSeq handlers;
  for (Object* o : objects)
    for (Object* h : latestHandlersOf(store_, *o)) handlers.append(xnodeOf(*h));
  return give(out, std::move(handlers));
}

HRESULT ReferenceServer::getCHNames(const Node& param0, const Node& param1,
                                    ZORListValZORUnicodeString& names) {
  Object* f = store_.find(param0);
  Object* s = store_.find(param1);
  if (!f || !s) return E_FAIL;
  for (Object* h : latestHandlersOf(store_, *f))
    if (h->handler.first == f->uuid && h->handler.second == s->uuid) names.Append(h->handler.id);
  return S_OK;
}

HRESULT ReferenceServer::deleteCH(const Node& first, const Node& second, const ZORUnicodeString& name) {
  Object* f = store_.find(first);
  Object* s = store_.find(second);
  if (!f || !s) return E_FAIL;
  std::vector<Uuid> doomed;
  for (Object* h : handlerVersions(f->uuid, s->uuid, name.str())) doomed.push_back(h->uuid);
  if (doomed.empty()) return E_FAIL;
  for (const auto& u : doomed) store_.remove(u);
  return S_OK;
}

HRESULT ReferenceServer::createFilterVersion(const XNode& handler, XNode*& version) {
  Object* given = store_.find(handler, kind::ConfigHandler);
  if (!given) return E_FAIL;
  Object* latest = latestHandler(given->handler.first, given->handler.second, given->handler.id);
  // Versions count up to the largest int: there is no version after that one.
  if (latest->handler.version == std::numeric_limits<int>::max()) return E_FAIL;
  Object* owner = store_.find(latest->owner);
  HandlerData data = latest->handler;
  auto attributes = latest->attributes;
  Object& next = store_.create(kind::ConfigHandler, latest->name, latest->owner, environmentFor(owner));
  next.handler = std::move(data);
  next.handler.version += 1;
  next.attributes = std::move(attributes);
  return give(version, xnodeOf(next));
}

HRESULT ReferenceServer::displayAllFilterVersions(const XNode& in, XNodeSeq*& out) {
  Object* h = store_.find(in, kind::ConfigHandler);
  if (!h) return E_FAIL;
  XNodeSeq versions;
  for (Object* v : handlerVersions(h->handler.first, h->handler.second, h->handler.id))
    versions.append(xnodeOf(*v));
  return give(out, std::move(versions));
}

HRESULT ReferenceServer::setFilter(const Node& node, const QEMConfig::MultiCOFilter& filter,
                                   const int& filterMode, const unsigned char& filter150Mode,
                                   const unsigned char& hideUnsolvedMode) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  o->currentFilter = CurrentFilter{filter, filterMode, filter150Mode, hideUnsolvedMode};
  return S_OK;
}

HRESULT ReferenceServer::getFilter(const Node& node, QEMConfig::MultiCOFilter*& filter, int& filterMode,
                                   unsigned char& filter150Mode, unsigned char& hideUnsolvedMode) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  CurrentFilter current = o->currentFilter.value_or(CurrentFilter{});
  filterMode = current.mode;
  filter150Mode = current.filter150;
  hideUnsolvedMode = current.hideUnsolved;
  return give(filter, std::move(current.filter));
}

HRESULT ReferenceServer::resetFilter(const Node& node) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  o->currentFilter.reset();
  return S_OK;
}

HRESULT ReferenceServer::getPSFilter(const Node& node, QEMConfig::MultiCOFilter*& filter) {
  Object* s = store_.find(node, kind::ProductSpecification);
  if (!s) return E_FAIL;
  return give(filter, s->spec.filter);
}

HRESULT ReferenceServer::propagateEffectivity(const XNode& node, const QEMConfig::MultiCOFilter& filter,
                                              const int filterMode, const int filter150Mode) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  std::vector<Object*> reached{o};
  auto below = store_.descendants(*o);
  reached.insert(reached.end(), below.begin(), below.end());
  for (Object* r : reached) {
    CurrentFilter current = r->currentFilter.value_or(CurrentFilter{});
    current.filter = filter;
    current.mode = filterMode;
    current.filter150 = filter150Mode ? 1 : 0;
    r->currentFilter = std::move(current);
  }
  return S_OK;
}

HRESULT ReferenceServer::setFilter150Mode() {
  bool was = std::exchange(store_.settings.filter150, true);
  return was ? S_FALSE : S_OK;
}

HRESULT ReferenceServer::unsetFilter150Mode() {
  bool was = std::exchange(store_.settings.filter150, false);
  return was ? S_OK : S_FALSE;
}

HRESULT ReferenceServer::getCV(const ZORIQemFactoryObject_var& object,
                               ZORIConfigurableObject_var& configurable) {
  Object* o = objectOf(object);
  Object* c = o ? store_.ancestorOrSelf(*o, {kind::ConfiguredView, kind::ProductRootClass}) : nullptr;
  if (!c) return E_FAIL;
  configurable = ZORIConfigurableObject_var(handleOf(*c));
  return S_OK;
}

HRESULT ReferenceServer::getCHNameVersion(const ZORIConfigurableObject_var& configurable,
                                          const ZORUnicodeString& name, ZORUnicodeString& id,
                                          ZORUnicodeString& version) {
  Object* c = objectOf(configurable);
  if (!c) return E_FAIL;
  for (Object* h : latestHandlersOf(store_, *c))
    if (h->handler.id == name.str()) {
      id = h->handler.id;
      version = std::to_string(h->handler.version);
      return S_OK;
    }
  return S_FALSE;
}

ZORIConfigHandler_var ReferenceServer::GetConfigHandler(const ZORIConfigurableObject_var& configurable,
                                                        const ZORUnicodeString& id,
                                                        const ZORUnicodeString& version) {
  Object* c = objectOf(configurable);
  if (!c) return {};
  for (Object* h : store_.linkedTo(Link::Context, *c, kind::ConfigHandler)) {
    const HandlerData& d = h->handler;
    if (d.id == id.str() && (version.IsEmpty() ? h == latestHandler(d.first, d.second, d.id)
                                               : std::to_string(d.version) == version.str()))
      return ZORIConfigHandler_var(handleOf(*h));
  }
  return {};
}

}  // namespace oks::reference
