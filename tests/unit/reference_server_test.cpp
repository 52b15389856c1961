// The reference service's operations: what a creation makes every read finds, an update reads
// back as written, a deletion removes the object and what only it held, and an unknown object
// answers as a missing one.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include <oks/host/reference/database.h>
#include <oks/reference/reference_server.h>

namespace {

using namespace oks::reference;
using oks::AttributeFilters;
using QEM_ProductTypes::Node;
using QEM_ProductTypes::NodeSeq;
using QEM_ProductTypes::XNode;
using QEM_ProductTypes::XNodeSeq;

// The values of one date interval (an end day counts whole) and of one year.
QEMConfig::NormalValueSeq during(QEM_OrbixTypes::DateCorba from, QEM_OrbixTypes::DateCorba to) {
  NormalValue v;
  v.optionalDate.append({from, to});
  return {v};
}
QEMConfig::NormalValueSeq year(int y) { return during({y, 1, 1}, {y, 12, 31}); }
template <class T>
std::unique_ptr<T> owned(T* p) {
  return std::unique_ptr<T>(p);
}

// A product line: a root class with a product type, a configured view on it, two
// specifications under the type (one for 2026, one for 2027), and a change object.
class ReferenceServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prc = &store.create(kind::ProductRootClass, "Bike", "", "CONFIG");
    pt = &store.create(kind::ProductType, "City", prc->uuid, "CONFIG");
    cv = &store.create(kind::ConfiguredView, "City view", prc->uuid, "CONFIG");
    cv->productType = pt->uuid;
    ps26 = &store.create(kind::ProductSpecification, "City 2026", pt->uuid, "CONFIG");
    ps26->spec.values = year(2026);
    ps27 = &store.create(kind::ProductSpecification, "City 2027", pt->uuid, "CONFIG");
    ps27->spec.values = year(2027);
    co = &store.create(kind::ChangeObject, "CO-1", prc->uuid, "CONFIG");
  }
  Node node(const Object* o) { return server.nodeOf(*o); }
  XNode xnode(const Object* o) { return server.xnodeOf(*o); }
  Node unknownNode() {
    Node n;
    fromHex("00112233445566778899aabbccddeeff", n.UUID);
    return n;
  }
  Object* found(const XNode& x) { return store.find(x); }

  std::unique_ptr<oks::host::Database> database =
      oks::host::Database::open("", oks::host::Database::Mode::Temporary);
  ReferenceServer server{*database, 1};
  Store& store = server.store();
  oks::ScopedServer installed{&server};  // handles the service gives out forward through the seam
  Object *prc, *pt, *cv, *ps26, *ps27, *co;
};

TEST_F(ReferenceServerTest, StructureCreationsAreFoundAndAllOrNothing) {
  XNode request;
  request.Name = "Cargo";
  request.Nodes.append(node(prc));
  XNodeSeq* created = nullptr;
  ASSERT_EQ(server.addProductType1(XNodeSeq{request}, created), S_OK);
  auto hold = owned(created);
  ASSERT_EQ(created->length(), 1u);
  EXPECT_EQ((*created)[0].Type, "PT");
  EXPECT_EQ(found((*created)[0])->owner, prc->uuid);

  // A second request naming an existing type refuses the whole batch.
  XNode again = request;
  XNode fresh = request;
  fresh.Name = "Kids";
  XNodeSeq* refused = nullptr;
  EXPECT_EQ(server.addProductType1(XNodeSeq{fresh, again}, refused), E_FAIL);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(store.children(*prc, kind::ProductType).size(), 2u);

  // A configured view made on a product type belongs to its root class and lists under the type.
  XNode view;
  view.Name = "Cargo view";
  ASSERT_EQ(server.addCV(xnode(pt), view), S_OK);
  EXPECT_EQ(view.Type, "CV");
  NodeSeq* views = nullptr;
  ASSERT_EQ(server.getCVListFromProductType(node(pt), views), S_OK);
  auto holdViews = owned(views);
  EXPECT_EQ(views->length(), 2u);
  Node* root = nullptr;
  ASSERT_EQ(server.getPRCFromCV(view.Nodes[0], root), S_OK);
  EXPECT_EQ(owned(root)->Name, "Bike");
}

TEST_F(ReferenceServerTest, UnknownObjectsAnswerAsMissing) {
  NodeSeq* nodes = nullptr;
  Node* one = nullptr;
  EXPECT_EQ(server.getConfigTree(unknownNode(), nodes), E_FAIL);
  EXPECT_EQ(server.getPRCFromCV(node(pt), one), E_FAIL);  // a product type is no view
  EXPECT_EQ(nodes, nullptr);
  EXPECT_EQ(one, nullptr);
  EXPECT_EQ(server.deletePS(unknownNode()), E_FAIL);
  NodeSeq* specs = nullptr;
  QEMConfig::NormalValueSeq* values = nullptr;
  QEMConfig::MultiCOFilter* filter = nullptr;
  AttributeFilters* criteria = nullptr;
  ZORUnicodeString text;
  unsigned char flag = 0;
  EXPECT_EQ(server.getProdSpec(XNode(), specs, values, text, {}, "", flag, filter, criteria, text, flag),
            E_FAIL);
  XNode empty;
  XNodeSeq* out = nullptr;
  EXPECT_EQ(server.getChildren(XNodeSeq{empty}, out), E_FAIL);
  EXPECT_EQ(server.GetFactoryObjectByUUID(unknownNode().UUID).get(), nullptr);
  EXPECT_EQ(server.GetAppObjectByUUID(unknownNode().UUID), nullptr);
  // A node without UUID is found by its unique name and type.
  Node byName;
  byName.Name = "City";
  byName.Type = "PT";
  EXPECT_EQ(store.find(byName), pt);
  byName.Type = "CV";
  EXPECT_EQ(store.find(byName), nullptr);
}

// The example script reads back a specification's values, filter and hiding; here what it does
// not: members and domain replaced, criteria, their type and case, and the refusals.
TEST_F(ReferenceServerTest, SpecificationReadsBackWhatWasWritten) {
  XNode desc;
  desc.Name = "City EU";
  XNode* created = nullptr;
  ASSERT_EQ(server.addProdSpec(xnode(pt), desc, "A", NodeSeq{node(ps26)}, year(2026), "EU", created, 0),
            S_OK);
  Object* eu = found(*owned(created));
  ASSERT_NE(eu, nullptr);
  XNode* twice = nullptr;
  EXPECT_EQ(server.addProdSpec(xnode(pt), desc, "A", {}, {}, "", twice, 0), E_FAIL);

  QEMConfig::MultiCOFilter filter(1);
  filter[0].COName = "CO-1";
  filter[0].modifs.append("MOD-7");
  AttributeFilters criteria;
  criteria.Append(new QEMIQAttributeFilterObject{"Color", "=", "red"});
  ASSERT_EQ(
      server.setProdSpec(xnode(eu), NodeSeq{node(ps27)}, year(2027), "US", 1, filter, &criteria, 0, "ATTR"),
      S_OK);
  EXPECT_EQ(server.setProdSpec(xnode(eu), NodeSeq{node(eu)}, {}, "", 0, filter, nullptr, 0, ""),
            E_INVALIDARG);

  NodeSeq* specs = nullptr;
  QEMConfig::NormalValueSeq* values = nullptr;
  QEMConfig::MultiCOFilter* got = nullptr;
  AttributeFilters* gotCriteria = nullptr;
  ZORUnicodeString domain, type;
  unsigned char hide = 0, caseSensitive = 1;
  ASSERT_EQ(server.getProdSpec(xnode(eu), specs, values, domain, {}, "", hide, got, gotCriteria, type,
                               caseSensitive),
            S_OK);
  auto h1 = owned(specs);
  auto h2 = owned(values);
  auto h3 = owned(got);
  auto h4 = owned(gotCriteria);
  ASSERT_EQ(specs->length(), 1u);
  EXPECT_EQ((*specs)[0].Name, "City 2027");  // replaced, not added to
  EXPECT_EQ(domain, "US");
  EXPECT_EQ(type, "ATTR");
  EXPECT_EQ(caseSensitive, 0);
  EXPECT_EQ(*gotCriteria, criteria);
  QEMConfig::MultiCOFilter* psFilter = nullptr;
  ASSERT_EQ(server.getPSFilter(node(eu), psFilter), S_OK);
  EXPECT_EQ(*owned(psFilter), filter);
}

TEST_F(ReferenceServerTest, SpecificationsFilterByEffectivity) {
  NodeSeq tree{node(prc), node(ps26), node(ps27)};
  QEMConfig::NormalValueSeq mid2027 = during({2027, 6, 1}, {2027, 6, 1});
  NodeSeq* kept = nullptr;
  ASSERT_EQ(server.filterSpecs(node(prc), mid2027, "", 0, tree, kept), S_OK);  // other nodes pass
  EXPECT_EQ(*owned(kept), (NodeSeq{node(prc), node(ps27)}));

  NodeSeq selected{node(ps26), node(ps27)};
  Node* outcome = nullptr;
  ASSERT_EQ(server.rbcValidate(node(prc), mid2027, "", selected, outcome), S_OK);
  auto holdOutcome = owned(outcome);
  EXPECT_EQ(selected, NodeSeq{node(ps27)});
  EXPECT_EQ(outcome->AttributeList[outcome->AttributeList.length() - 1].Value,
            CORBA::Any(std::string("City 2026")));

  ZORListValZORUnicodeString answer;
  EXPECT_EQ(server.isPUE(xnode(pt), "EU", answer), S_OK);  // no specification restricts names
  EXPECT_EQ(answer.Size(), 2);
  for (Object* ps : {ps26, ps27}) ps->spec.values[0].optionalSpec.append("US");
  EXPECT_EQ(server.isPUE(xnode(pt), "EU", answer), S_FALSE);
}

TEST_F(ReferenceServerTest, CarryOverMakesTheNextVersion) {
  ps26->spec.version = "A9";
  XNode* copy = nullptr;
  ASSERT_EQ(server.addCOProdSpec(XNodeSeq{xnode(ps26)}, 1, copy), S_OK);
  Object* carried = found(*owned(copy));
  EXPECT_EQ(carried->spec.version, "A10");
  EXPECT_EQ(carried->spec.values, ps26->spec.values);
  unsigned char flag = 0;
  ASSERT_EQ(server.isCarryOver(xnode(carried), flag), S_OK);
  EXPECT_EQ(flag, 1);
  ASSERT_EQ(server.carryOverPSExists(XNodeSeq{xnode(ps26)}, flag), S_OK);
  EXPECT_EQ(flag, 1);

  copy = nullptr;
  ASSERT_EQ(server.addCOProdSpec(XNodeSeq{xnode(ps26)}, 0, copy), S_OK);
  Object* plain = found(*owned(copy));
  EXPECT_EQ(plain->spec.version, "A11");
  EXPECT_EQ(plain->spec.values.length(), 0u);

  copy = nullptr;
  EXPECT_EQ(server.addSupportedProdSpec(XNodeSeq{xnode(ps26)}, copy), E_INVALIDARG);
  ASSERT_EQ(server.addSupportedProdSpec(XNodeSeq{xnode(ps26), xnode(cv)}, copy), S_OK);
  Object* supported = found(*owned(copy));
  EXPECT_TRUE(supported->spec.supported);
  EXPECT_EQ(supported->owner, cv->uuid);
}

TEST_F(ReferenceServerTest, DeletionsTakeWhatOnlyTheObjectHeld) {
  pt->typedefSpecs = {ps26->uuid};
  pt->authorisedSpecs = {ps26->uuid, ps27->uuid};
  EXPECT_EQ(server.validatePTSpecs(xnode(pt)), S_OK);
  ps27->spec.members = {ps26->uuid};
  ASSERT_EQ(server.deletePS(node(ps26)), S_OK);
  EXPECT_TRUE(pt->typedefSpecs.empty());
  EXPECT_EQ(pt->authorisedSpecs, std::vector<Uuid>{ps27->uuid});
  EXPECT_TRUE(ps27->spec.members.empty());

  Uuid spec27 = ps27->uuid;
  ASSERT_EQ(server.deleteProductType(node(pt)), S_OK);
  EXPECT_EQ(store.find(spec27), nullptr);
  EXPECT_TRUE(cv->productType.empty());
  EXPECT_EQ(server.deleteProductType(node(cv)), E_FAIL);
}

// The example script adds, reads, versions, finds by name and deletes a handler; here what it
// does not: refusals, the modes read back, the last version and the names.
TEST_F(ReferenceServerTest, HandlerRefusalsModesAndNames) {
  QEMConfig::MultiCOFilter filter(1);
  filter[0].COName = "CO-1";
  XNode* added = nullptr;
  ASSERT_EQ(server.addCH(node(prc), node(cv), filter, "Spring", "spring filter", "ADD", 3, 1, 0, "T", 0,
                         nullptr, added),
            S_OK);
  XNode handler = *owned(added);
  added = nullptr;
  EXPECT_EQ(server.addCH(node(prc), node(cv), filter, "Spring", "", "ADD", 2, 0, 0, "", 1, nullptr, added),
            E_FAIL);
  EXPECT_EQ(server.addCH(node(prc), node(cv), filter, "Autumn", "", "MOVE", 2, 0, 0, "", 1, nullptr, added),
            E_INVALIDARG);

  QEMConfig::MultiCOFilter* got = nullptr;
  int mode = 2;
  unsigned char f150 = 0, hide = 0, caseSensitive = 1;
  ZORListPtrQEMIQObjectQuery* queries = nullptr;
  AttributeFilters* attributes = nullptr;
  ZORUnicodeString criterion;
  ASSERT_EQ(server.getCHFilter(node(prc), node(cv), "Spring", got, mode, f150, hide, queries, attributes,
                               criterion, caseSensitive),
            S_OK);
  auto holdFilter = owned(got);
  auto holdAttributes = owned(attributes);
  EXPECT_EQ(f150, 1);
  EXPECT_EQ(caseSensitive, 0);
  EXPECT_EQ(criterion, "T");

  // There is no version after the largest int.
  found(handler)->handler.version = std::numeric_limits<int>::max();
  XNode* beyond = nullptr;
  EXPECT_EQ(server.createFilterVersion(handler, beyond), E_FAIL);
  EXPECT_EQ(beyond, nullptr);

  ZORListValZORUnicodeString names;
  ASSERT_EQ(server.getCHNames(node(prc), node(cv), names), S_OK);
  EXPECT_EQ(names.Size(), 1);
  ASSERT_EQ(server.deleteCH(node(prc), node(cv), "Spring"), S_OK);
  EXPECT_EQ(server.deleteCH(node(prc), node(cv), "Spring"), E_FAIL);
}

TEST_F(ReferenceServerTest, CurrentFilterAndModes) {
  QEMConfig::MultiCOFilter* got = nullptr;
  int mode = -1;
  unsigned char f150 = 9, hide = 9;
  ASSERT_EQ(server.getFilter(node(cv), got, mode, f150, hide), S_OK);
  EXPECT_EQ(owned(got)->length(), 0u);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(f150, 0);

  QEMConfig::MultiCOFilter filter(1);
  filter[0].COName = "CO-1";
  ASSERT_EQ(server.setFilter(node(cv), filter, 5, 1, 1), S_OK);
  got = nullptr;
  ASSERT_EQ(server.getFilter(node(cv), got, mode, f150, hide), S_OK);
  EXPECT_EQ(*owned(got), filter);
  EXPECT_EQ(mode, 5);
  EXPECT_EQ(hide, 1);
  ASSERT_EQ(server.resetFilter(node(cv)), S_OK);
  EXPECT_FALSE(cv->currentFilter.has_value());

  ASSERT_EQ(server.propagateEffectivity(xnode(pt), filter, 4, 1), S_OK);
  EXPECT_EQ(ps27->currentFilter->mode, 4);
  EXPECT_FALSE(cv->currentFilter.has_value());

  EXPECT_EQ(server.setFilter150Mode(), S_OK);
  EXPECT_EQ(server.setFilter150Mode(), S_FALSE);
  EXPECT_EQ(server.unsetFilter150Mode(), S_OK);
}

TEST_F(ReferenceServerTest, ModificationOwnerActionAndParent) {
  Object& parent = store.create(kind::Modification, "MOD-1", co->uuid, "CONFIG");
  parent.modification.eco = true;
  Object& child = store.create(kind::Modification, "MOD-2", co->uuid, "CONFIG");
  child.modification = {"jdoe", "R&D", "P1", parent.uuid, false, ActionState::Open};

  ZORICfgModification_var mod(server.GetFactoryObjectByUUID(node(&child).UUID));
  ZORListValZORUnicodeString owner;
  ZORIQemAFLAction_var action;
  ASSERT_EQ(server.RetrieveActionFromModif(mod, action), S_OK);
  EXPECT_EQ(action->IsClose(), S_FALSE);
  child.modification.action = ActionState::Closed;
  EXPECT_EQ(action->IsClose(), S_OK);

  ZORICfgModification_var up;
  ASSERT_EQ(server.GetParent(*oks::serverObject(mod), up), S_OK);
  EXPECT_EQ(server.IsECOMod(up), S_OK);
  ZORICfgModification_var noOwner(server.GetFactoryObjectByUUID(node(&parent).UUID));
  EXPECT_EQ(server.RetrieveModOwner(noOwner, owner), E_FAIL);
  EXPECT_EQ(server.RetrieveActionFromModif(noOwner, action), S_FALSE);

  ASSERT_EQ(server.deleteModification(node(&parent).UUID), S_OK);
  EXPECT_EQ(server.GetParent(*oks::serverObject(mod), up), S_FALSE);
  EXPECT_EQ(server.IsECOMod(up), E_FAIL);  // the parent handle outlived its object
  ASSERT_EQ(server.deleteCO(node(prc), "CO-1"), S_OK);
  EXPECT_EQ(server.deleteCO(node(prc), "CO-1"), E_FAIL);
  EXPECT_EQ(action->IsClose(), E_FAIL);
  EXPECT_EQ(server.deleteModification(node(prc).UUID), E_FAIL);
}

TEST_F(ReferenceServerTest, ApplicabilitiesAndExtension) {
  QEMConfig::DomainEffectivitySeq applicability(1);
  applicability[0].Domain = "EU";
  applicability[0].Effectivity.append(year(2028));
  EXPECT_EQ(server.setPtApplicability(applicability, XNodeSeq{xnode(ps26)}), E_FAIL);
  ASSERT_EQ(server.setPtApplicability(applicability, XNodeSeq{xnode(pt)}), S_OK);
  QEMConfig::DomainEffectivitySeq* got = nullptr;
  ASSERT_EQ(server.getPtApplicability(got, XNodeSeq{xnode(pt)}), S_OK);
  EXPECT_EQ(*owned(got), applicability);

  ASSERT_EQ(server.setSpecApplicability(applicability, XNodeSeq{xnode(ps26)}), S_OK);
  ZORUnicodeString text;
  ASSERT_EQ(server.displayPtSpecEffectivity(XNodeSeq{xnode(ps26), xnode(cv)}, text), S_OK);
  EXPECT_EQ(text,
            "PS \"City 2026\": [2026-01-01 .. 2026-12-31]\n"
            "PS \"City 2026\" [EU]: [2026-01-01 .. 2026-12-31] AND [2028-01-01 .. 2028-12-31]\n"
            "CV \"City view\": ALWAYS");
  unsigned char defined = 9;
  ASSERT_EQ(server.isEffectivityDefined(defined, {}), S_OK);  // no object defines nothing
  EXPECT_EQ(defined, 0);

  // Extending up to another specification's end, then without end.
  const _SEQUENCE_octet reference = node(ps26).UUID;
  ASSERT_EQ(server.ExtendEffectivity(XNodeSeq{xnode(ps27)}, &reference), S_OK);
  EXPECT_EQ(ps27->spec.values[0].optionalDate[0].toDate.year, 2028);
  ASSERT_EQ(server.ExtendEffectivity(XNodeSeq{xnode(ps27)}, nullptr), S_OK);
  EXPECT_TRUE(isOpenDate(ps27->spec.values[0].optionalDate[0].toDate));
}

TEST_F(ReferenceServerTest, SessionDesktopAndWrittenValues) {
  ZORIRootDesktop_var desktop = server.GetRootDesktop();
  ASSERT_FALSE(!desktop);
  EXPECT_EQ(desktop->PopEnvironment(), E_FAIL);
  EXPECT_EQ(desktop->PushEnvironment("DESIGN"), S_OK);
  XNode view;
  view.Name = "Design view";
  ASSERT_EQ(server.addCV(xnode(prc), view), S_OK);
  EXPECT_EQ(view.Environment, "DESIGN");
  EXPECT_EQ(desktop->PopEnvironment(), S_OK);
  EXPECT_TRUE(store.environments.empty());

  XNode values;
  values.Nodes.length(1);
  values.Nodes[0].AttributeList.append({"Color", CORBA::Any(std::string("red"))});
  ZORIQemFactoryObject_var factory(server.GetFactoryObjectByUUID(node(cv).UUID));
  CORBA::Environment env;
  EXPECT_EQ(server.setValuesOnObject(factory, values, "BrowseMask", env), E_FAIL);
  ASSERT_EQ(server.setValuesOnObject(factory, values, "CreateMask", env), S_OK);
  Node shown = node(cv);
  EXPECT_EQ(shown.AttributeList[shown.AttributeList.length() - 1].Name, "Color");
  EXPECT_EQ(server.SetCurrentMask(""), E_INVALIDARG);
  EXPECT_EQ(server.isIWAppSet(), S_FALSE);
}

// Walks over owners end whatever the store holds, even an ownership cycle the loader would refuse.
TEST_F(ReferenceServerTest, WalksEndOnAnOwnershipCycle) {
  store.find(cv->uuid)->owner = pt->uuid;
  store.find(pt->uuid)->owner = cv->uuid;
  NodeSeq* tree = nullptr;
  ASSERT_EQ(server.getConfigTree(node(pt), tree), S_OK);
  EXPECT_EQ(owned(tree)->length(), 4u);  // the type, its view and the two specifications
  tree = nullptr;
  ASSERT_EQ(server.getPCSpecTree2(NodeSeq{node(cv)}, tree), S_OK);
  EXPECT_EQ(owned(tree)->length(), 3u);
  EXPECT_EQ(server.propagateEffectivity(xnode(cv), {}, 1, 0), S_OK);
  cv->milestones.append({"M1", "view", {}, {1, 9}, 1});
  QEMConfig::MileStoneValueSeq* milestones = nullptr;
  ASSERT_EQ(server.getMileStoneValues(node(pt), milestones), S_OK);
  EXPECT_EQ(owned(milestones)->length(), 1u);
}

}  // namespace
