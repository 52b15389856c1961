// Product root classes, configured views, product types with their typedef and authorised
// specifications, change objects, and the trees over them.
#include <algorithm>
#include <set>

#include <oks/reference/reference_server.h>

namespace oks::reference {

namespace {

bool hasChildNamed(Store& store, const Object& owner, const char* type, const std::string& name) {
  auto same = store.children(owner, type);
  return std::any_of(same.begin(), same.end(), [&name](const Object* o) { return o->name == name; });
}

}  // namespace

// Creates one object of the type per extended node: named by its Name, under the object of its
// last node (which must have the owner type when one is given). All or nothing.
HRESULT ReferenceServer::addChildren(const XNodeSeq& in, XNodeSeq*& out, const char* type,
                                     const char* ownerType) {
  if (in.length() == 0) return E_INVALIDARG;
  std::vector<std::pair<Object*, std::string>> planned;
  for (const auto& x : in) {
    Object* owner = ownerType ? store_.find(x, ownerType) : store_.find(x);
    if (!owner || x.Name.empty() || hasChildNamed(store_, *owner, type, x.Name)) return E_FAIL;
    std::pair<Object*, std::string> next{owner, x.Name};
    if (std::find(planned.begin(), planned.end(), next) != planned.end()) return E_FAIL;
    planned.push_back(next);
  }
  XNodeSeq created;
  for (const auto& [owner, name] : planned)
    created.append(xnodeOf(store_.create(type, name, owner->uuid, environmentFor(owner))));
  return give(out, std::move(created));
}

HRESULT ReferenceServer::addCO(const XNodeSeq& in, XNodeSeq*& out) {
  return addChildren(in, out, kind::ChangeObject, nullptr);
}

HRESULT ReferenceServer::addProductType1(const XNodeSeq& in, XNodeSeq*& out) {
  return addChildren(in, out, kind::ProductType, kind::ProductRootClass);
}

HRESULT ReferenceServer::deleteProductType1(const XNodeSeq& in, XNodeSeq*& out) {
  if (in.length() == 0) return E_INVALIDARG;
  std::vector<Object*> types;
  if (!store_.findEach(in, types, kind::ProductType)) return E_FAIL;
  std::vector<Uuid> doomed;
  XNodeSeq deleted;
  for (Object* pt : types) {
    if (std::find(doomed.begin(), doomed.end(), pt->uuid) != doomed.end()) continue;
    doomed.push_back(pt->uuid);
    deleted.append(xnodeOf(*pt));
  }
  for (const auto& u : doomed) store_.remove(u);
  return give(out, std::move(deleted));
}

HRESULT ReferenceServer::deleteProductType(const Node& node) {
  Object* pt = store_.find(node, kind::ProductType);
  if (!pt) return E_FAIL;
  store_.remove(pt->uuid);
  return S_OK;
}

HRESULT ReferenceServer::addCV(const XNode& param0, XNode& param1) {
  Object* owner = store_.find(param0);
  if (!owner || !(owner->is(kind::ProductRootClass) || owner->is(kind::ProductType))) return E_FAIL;
  Object* prc = store_.ancestorOrSelf(*owner, {kind::ProductRootClass});
  if (!prc) return E_FAIL;
  if (param1.Name.empty()) return E_INVALIDARG;
  if (hasChildNamed(store_, *prc, kind::ConfiguredView, param1.Name)) return E_FAIL;
  Object& cv = store_.create(kind::ConfiguredView, param1.Name, prc->uuid, environmentFor(prc));
  if (owner->is(kind::ProductType)) cv.productType = owner->uuid;
  param1 = xnodeOf(cv);
  return S_OK;
}

HRESULT ReferenceServer::getCVFromPRC(const XNodeSeq& in, XNodeSeq*& out) {
  std::vector<Object*> classes;
  if (!store_.findEach(in, classes, kind::ProductRootClass)) return E_FAIL;
  XNodeSeq views;
  for (Object* prc : classes)
    for (Object* cv : store_.children(*prc, kind::ConfiguredView)) views.append(xnodeOf(*cv));
  return give(out, std::move(views));
}

HRESULT ReferenceServer::getCVListFromProductType(const Node& in, NodeSeq*& out) {
  Object* pt = store_.find(in, kind::ProductType);
  if (!pt) return E_FAIL;
  NodeSeq views;
  for (Object* cv : store_.linkedTo(Link::ProductType, *pt, kind::ConfiguredView)) views.append(nodeOf(*cv));
  return give(out, std::move(views));
}

HRESULT ReferenceServer::getChildren(const XNodeSeq& in, XNodeSeq*& out) {
  std::vector<Object*> objects;
  if (!store_.findEach(in, objects)) return E_FAIL;
  XNodeSeq found;
  for (Object* o : objects)
    for (Object* child : store_.children(*o)) found.append(xnodeOf(*child));
  return give(out, std::move(found));
}

HRESULT ReferenceServer::getConfigTree(const Node& in, NodeSeq*& out) {
  Object* o = store_.find(in);
  if (!o) return E_FAIL;
  NodeSeq tree;
  tree.append(nodeOf(*o));
  for (Object* d : store_.descendants(*o)) tree.append(nodeOf(*d));
  return give(out, std::move(tree));
}

HRESULT ReferenceServer::getPCSpecTree2(const NodeSeq& in, NodeSeq*& out) {
  std::vector<Object*> objects;
  if (!store_.findEach(in, objects)) return E_FAIL;
  NodeSeq tree;
  for (Object* o : objects) {
    tree.append(nodeOf(*o));
    for (Object* s : specificationsOf(*o)) tree.append(nodeOf(*s));
  }
  return give(out, std::move(tree));
}

HRESULT ReferenceServer::getPRCAndCVFromCH(const Node& in, NodeSeq*& out) {
  Object* ch = store_.find(in, kind::ConfigHandler);
  if (!ch) return E_FAIL;
  NodeSeq pair;
  for (const Uuid& u : {ch->handler.first, ch->handler.second})
    if (Object* o = store_.find(u)) pair.append(nodeOf(*o));
  return give(out, std::move(pair));
}

HRESULT ReferenceServer::getPRCAndCVFromPS(const Node& in, NodeSeq*& out) {
  Object* ps = store_.find(in, kind::ProductSpecification);
  if (!ps) return E_FAIL;
  Object* prc = store_.ancestorOrSelf(*ps, {kind::ProductRootClass});
  if (!prc) return E_FAIL;
  NodeSeq pair;
  pair.append(nodeOf(*prc));
  if (Object* cv = store_.ancestorOrSelf(*ps, {kind::ConfiguredView})) pair.append(nodeOf(*cv));
  return give(out, std::move(pair));
}

HRESULT ReferenceServer::getPRCFromCV(const Node& in, Node*& out) {
  Object* cv = store_.find(in, kind::ConfiguredView);
  Object* prc = cv ? store_.ancestorOrSelf(*cv, {kind::ProductRootClass}) : nullptr;
  if (!prc) return E_FAIL;
  return give(out, nodeOf(*prc));
}

HRESULT ReferenceServer::getVSChildren(const XNode& in, XNodeSeq*& out) {
  Object* o = store_.find(in);
  if (!o) return E_FAIL;
  XNodeSeq specs;
  for (Object* s : store_.children(*o, kind::ProductSpecification)) specs.append(xnodeOf(*s));
  return give(out, std::move(specs));
}

// A product type with its typedef or authorised specifications travels as one extended node:
// the product type's node first, then the specifications' nodes.
HRESULT ReferenceServer::specsOfTypes(const XNodeSeq& in, XNodeSeq*& out, std::vector<Uuid> Object::*list) {
  XNodeSeq groups;
  for (const auto& x : in) {
    Object* pt = x.Nodes.length() ? store_.find(x.Nodes[0], kind::ProductType) : nullptr;
    if (!pt) return E_FAIL;
    XNode group = xnodeOf(*pt);
    for (const auto& u : pt->*list)
      if (Object* s = store_.find(u)) group.Nodes.append(nodeOf(*s));
    groups.append(std::move(group));
  }
  return give(out, std::move(groups));
}

HRESULT ReferenceServer::setSpecsOfTypes(const XNodeSeq& in, XNodeSeq*& out,
                                         std::vector<Uuid> Object::*list) {
  std::vector<std::pair<Object*, std::vector<Uuid>>> planned;
  for (const auto& x : in) {
    Object* pt = x.Nodes.length() ? store_.find(x.Nodes[0], kind::ProductType) : nullptr;
    if (!pt) return E_FAIL;
    std::vector<Uuid> specs;
    for (std::uint32_t i = 1; i < x.Nodes.length(); ++i) {
      Object* s = store_.find(x.Nodes[i], kind::ProductSpecification);
      if (!s) return E_FAIL;
      if (std::find(specs.begin(), specs.end(), s->uuid) == specs.end()) specs.push_back(s->uuid);
    }
    planned.emplace_back(pt, std::move(specs));
  }
  for (auto& [pt, specs] : planned) pt->*list = std::move(specs);
  return specsOfTypes(in, out, list);
}

HRESULT ReferenceServer::getPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out) {
  return specsOfTypes(in, out, &Object::typedefSpecs);
}
HRESULT ReferenceServer::getPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out) {
  return specsOfTypes(in, out, &Object::authorisedSpecs);
}
HRESULT ReferenceServer::setPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out) {
  return setSpecsOfTypes(in, out, &Object::typedefSpecs);
}
HRESULT ReferenceServer::setPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out) {
  return setSpecsOfTypes(in, out, &Object::authorisedSpecs);
}

HRESULT ReferenceServer::validatePTSpecs(const XNode& node) {
  Object* pt = node.Nodes.length() ? store_.find(node.Nodes[0], kind::ProductType) : nullptr;
  if (!pt) return E_FAIL;
  for (const auto& u : pt->typedefSpecs)
    if (std::find(pt->authorisedSpecs.begin(), pt->authorisedSpecs.end(), u) == pt->authorisedSpecs.end())
      return E_FAIL;
  return S_OK;
}

HRESULT ReferenceServer::deleteCO(const Node& node, const ZORUnicodeString& name) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  for (Object* co : store_.children(*o, kind::ChangeObject))
    if (co->name == name.str()) {
      store_.remove(co->uuid);
      return S_OK;
    }
  return E_FAIL;
}

}  // namespace oks::reference
