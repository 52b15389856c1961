// The reference configuration service: every operation of the server seam answered from the
// model of reference/store.h. What one operation creates the next one finds; an
// unknown UUID or name answers as a missing object does. reference/README.md says what each
// operation does here.
#pragma once

#include <string>
#include <vector>

#include <oks/reference/effectivity.h>
#include <oks/reference/store.h>
#include <oks/service/server.h>

namespace oks::reference {

class ReferenceServer : public Server {
 public:
  // The model kept by the backend; new UUIDs are random unless a seed makes them repeatable.
  explicit ReferenceServer(StoreBackend& backend, std::optional<std::uint64_t> seed = std::nullopt)
      : store_(backend, seed) {}

  Store& store() { return store_; }

  // --- Product structure ---------------------------------------------------------------------
  HRESULT addCO(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT addProductType1(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT deleteProductType1(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT deleteProductType(const Node& node) override;
  HRESULT addCV(const XNode& param0, XNode& param1) override;
  HRESULT getCVFromPRC(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT getCVListFromProductType(const Node& in, NodeSeq*& out) override;
  HRESULT getChildren(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT getConfigTree(const Node& in, NodeSeq*& out) override;
  HRESULT getPCSpecTree2(const NodeSeq& in, NodeSeq*& out) override;
  HRESULT getPRCAndCVFromCH(const Node& in, NodeSeq*& out) override;
  HRESULT getPRCAndCVFromPS(const Node& in, NodeSeq*& out) override;
  HRESULT getPRCFromCV(const Node& in, Node*& out) override;
  HRESULT getVSChildren(const XNode& in, XNodeSeq*& out) override;
  HRESULT getPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT getPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT setPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT setPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT validatePTSpecs(const XNode& node) override;
  HRESULT deleteCO(const Node& node, const ZORUnicodeString& name) override;

  // --- Product specifications ----------------------------------------------------------------
  HRESULT getProdSpec(const XNode& owner, NodeSeq*& specs, QEMConfig::NormalValueSeq*& values,
                      ZORUnicodeString& firstText, const QEMConfig::NormalValueSeq& inputValues,
                      const ZORUnicodeString& domain, unsigned char& hideUnsolvedMode,
                      QEMConfig::MultiCOFilter*& filter, AttributeFilters*& criteria,
                      ZORUnicodeString& secondText, unsigned char& caseSensitive) override;
  HRESULT addProdSpec(const XNode& first, const XNode& second, const ZORUnicodeString& version,
                      const NodeSeq& specs, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& param5, XNode*& created, const unsigned char flag) override;
  HRESULT setProdSpec(const XNode& owner, const NodeSeq& specs, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& domain, const unsigned char hideUnsolvedMode,
                      const QEMConfig::MultiCOFilter& filter, const AttributeFilters* criteria,
                      const unsigned char caseSensitive, const ZORUnicodeString& criteriaType) override;
  HRESULT filterSpecs(const Node& object, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& domain, const int& specOnly, const NodeSeq& tree,
                      NodeSeq*& filtered) override;
  HRESULT rbcValidate(const Node& object, const QEMConfig::NormalValueSeq& values,
                      const ZORUnicodeString& domain, NodeSeq& specs, Node*& outcome) override;
  HRESULT addCOProdSpec(const XNodeSeq& sources, int carryOver, XNode*& created) override;
  HRESULT addSupportedProdSpec(const XNodeSeq& sources, XNode*& created) override;
  HRESULT carryOverPSExists(const XNodeSeq& nodes, unsigned char& exists) override;
  HRESULT isCarryOver(const XNode& node, unsigned char& carryOver) override;
  HRESULT initSpecs(const Node& configurable, const NodeSeq& selected, NodeSeq*& specs) override;
  HRESULT verifySpecs(const Node& configurable, const NodeSeq& selected, const NodeSeq& selectedSpecs,
                      Node*& outcome) override;
  HRESULT deletePS(const Node& node) override;
  HRESULT getPCSpecTree(const Node& node, const QEMConfig::NormalValueSeq& values,
                        const ZORUnicodeString& domain, NodeSeq*& nodes) override;
  HRESULT getAllEffectivities(const Node& param0, const Node& param1,
                              QEMConfig::NormalValueSeq* values) override;

  // --- Effectivities, applicabilities, milestones --------------------------------------------
  HRESULT isEffectivityDefined(unsigned char& defined, const XNodeSeq& nodes) override;
  HRESULT getPtApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                             const XNodeSeq& nodes) override;
  HRESULT getSpecApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                               const XNodeSeq& nodes) override;
  HRESULT setPtApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                             const XNodeSeq& nodes) override;
  HRESULT setSpecApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                               const XNodeSeq& nodes) override;
  HRESULT displayPtSpecEffectivity(const XNodeSeq& nodes, ZORUnicodeString& description) override;
  HRESULT isPUE(const XNode& node, const ZORUnicodeString& text, ZORListValZORUnicodeString& answer) override;
  HRESULT ExtendEffectivity(const XNodeSeq nodes, const _SEQUENCE_octet* uuid) override;
  HRESULT getMileStoneValues(const Node& node, QEMConfig::MileStoneValueSeq*& milestones) override;

  // --- Configuration handlers and filters ----------------------------------------------------
  HRESULT addCH(const Node& first, const Node& second, const QEMConfig::MultiCOFilter& filter,
                const ZORUnicodeString& id, const ZORUnicodeString& description, const ZORUnicodeString& mode,
                const int& filterMode, const unsigned char& filter150Mode,
                const unsigned char& hideUnsolvedMode, const ZORUnicodeString& criterionType,
                const unsigned char caseSensitive, const AttributeFilters* attributeFilters,
                XNode*& handler) override;
  HRESULT getCHFilter(const Node& first, const Node& second, const ZORUnicodeString& name,
                      QEMConfig::MultiCOFilter*& filter, int& filterMode, unsigned char& filter150Mode,
                      unsigned char& hideUnsolvedMode, ObjectQueries*& queries,
                      AttributeFilters*& attributeFilters, ZORUnicodeString& criterionType,
                      unsigned char& caseSensitive) override;
  HRESULT getCHList(const XNodeSeq& in, XNodeSeq*& out) override;
  HRESULT getCHNames(const Node& param0, const Node& param1, ZORListValZORUnicodeString& names) override;
  HRESULT deleteCH(const Node& first, const Node& second, const ZORUnicodeString& name) override;
  HRESULT createFilterVersion(const XNode& handler, XNode*& version) override;
  HRESULT displayAllFilterVersions(const XNode& in, XNodeSeq*& out) override;
  HRESULT setFilter(const Node& node, const QEMConfig::MultiCOFilter& filter, const int& filterMode,
                    const unsigned char& filter150Mode, const unsigned char& hideUnsolvedMode) override;
  HRESULT getFilter(const Node& node, QEMConfig::MultiCOFilter*& filter, int& filterMode,
                    unsigned char& filter150Mode, unsigned char& hideUnsolvedMode) override;
  HRESULT resetFilter(const Node& node) override;
  HRESULT getPSFilter(const Node& node, QEMConfig::MultiCOFilter*& filter) override;
  HRESULT propagateEffectivity(const XNode& node, const QEMConfig::MultiCOFilter& filter,
                               const int filterMode, const int filter150Mode) override;
  HRESULT setFilter150Mode() override;
  HRESULT unsetFilter150Mode() override;
  HRESULT getCV(const ZORIQemFactoryObject_var& object, ZORIConfigurableObject_var& configurable) override;
  HRESULT getCHNameVersion(const ZORIConfigurableObject_var& configurable, const ZORUnicodeString& name,
                           ZORUnicodeString& id, ZORUnicodeString& version) override;
  ZORIConfigHandler_var GetConfigHandler(const ZORIConfigurableObject_var& configurable,
                                         const ZORUnicodeString& id,
                                         const ZORUnicodeString& version) override;

  // --- Modifications ---------------------------------------------------------------------------
  HRESULT deleteModification(_IDL_SEQUENCE_octet uuid) override;
  HRESULT IsECOMod(ZORICfgModification_var& modification) override;
  HRESULT RetrieveModOwner(const ZORICfgModification_var modification,
                           ZORListValZORUnicodeString& owner) override;
  HRESULT RetrieveActionFromModif(const ZORICfgModification_var modification,
                                  ZORIQemAFLAction_var& action) override;
  HRESULT GetParent(const ServerObject& modification, ZORICfgModification_var& parent) override;
  HRESULT IsClose(const ServerObject& action) override;

  // --- Session services, desktop and settings ------------------------------------------------
  HRESULT isIWAppSet() override;
  HRESULT setValuesOnObject(const ZORIQemFactoryObject_var& object, const XNode& values,
                            const ZORUnicodeString& mask, CORBA::Environment& environment) override;
  ZORBaseUnknown_var GetFactoryObjectByUUID(const _SEQUENCE_octet& uuid) override;
  ApplicationObject* GetAppObjectByUUID(const _SEQUENCE_octet& uuid) override;
  ApplicationObject* GetAppObjectByObject(const ZORIQemFactoryObject_var& object, const char* text) override;
  bool ApplicationXNode(ApplicationObject* object) override;
  XNode* GetOrbixXNode(ApplicationObject* object, short a, short b) override;
  HRESULT SetCurrentMask(ZORUnicodeString mask) override;
  ZORUnicodeString GetDataDomain() override;
  ZORIRootDesktop_var GetRootDesktop() override;
  HRESULT PushEnvironment(const ZORUnicodeString& environment) override;
  HRESULT PopEnvironment() override;

  // --- The model as the operations see it ----------------------------------------------------
  // The node and the one-node extended node of an object.
  Node nodeOf(const Object& object);
  XNode xnodeOf(const Object& object);
  // What the object holds that gives it effectivity (effectivity.h).
  static Holdings holdingsOf(const Object& object);
  // Whether the object's effectivity in the domain matches the filter values, for an operation
  // on the context object.
  bool effectiveUnder(const Object& object, const QEMConfig::NormalValueSeq& filter,
                      const std::string& domain, const Object& context);
  // A specification's members; for another object every specification below it.
  std::vector<Object*> specificationsOf(const Object& object);
  // The text of an object's effectivities, one line per domain (only the domain's when given).
  std::string describeEffectivity(const Object& object, const std::string* domain = nullptr);

 private:
  // Where milestone names resolve for an operation on the context object: those of the
  // object's values, those of filter values (effectivity.h).
  MilestoneScope valueScope(const Object& object, const Object& context);
  MilestoneScope filterScope(const Object& context);
  std::string environmentFor(const Object* owner) const;
  ZORBaseUnknown_var handleOf(const Object& object);
  Object* objectOf(const ServerObject* handle);
  template <class I>
  Object* objectOf(const ZORInterfaceVar<I>& handle) {
    return objectOf(serverObject(handle));
  }
  Object* latestHandler(const Uuid& first, const Uuid& second, const std::string& id);
  std::vector<Object*> handlerVersions(const Uuid& first, const Uuid& second, const std::string& id);
  HRESULT specsOfTypes(const XNodeSeq& in, XNodeSeq*& out, std::vector<Uuid> Object::*list);
  HRESULT setSpecsOfTypes(const XNodeSeq& in, XNodeSeq*& out, std::vector<Uuid> Object::*list);
  HRESULT getApplicability(QEMConfig::DomainEffectivitySeq*& out, const XNodeSeq& nodes, const char* type);
  HRESULT setApplicability(const QEMConfig::DomainEffectivitySeq& in, const XNodeSeq& nodes,
                           const char* type);
  HRESULT addChildren(const XNodeSeq& in, XNodeSeq*& out, const char* type, const char* ownerType);
  // The specifications of the nodes, each once; false when one is not a specification.
  bool specificationsNamed(const NodeSeq& nodes, std::vector<Uuid>& specs);
  Object& copySpecification(const Object& source, Object& owner, const std::string& version);
  Node outcomeNode(const Object& object, const char* verdictName, CORBA::Any verdict,
                   const std::vector<std::string>& rejected);

  Store store_;
};

// Attribute filters as the seam passes them and as the model keeps them.
AttributeFilters toList(const AttributeFilterList& filters);
AttributeFilterList fromList(const AttributeFilters* list);

// Gives a record through an output pointer: fills the record it points at, or a new one the
// caller owns.
template <class T>
HRESULT give(T*& out, T value) {
  if (out)
    *out = std::move(value);
  else
    out = new T(std::move(value));
  return S_OK;
}

}  // namespace oks::reference
