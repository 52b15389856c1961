// The server seam: one virtual function per operation the commands call outside the command
// library. The service classes, session services, desktop and model interfaces forward here.
// This base class is the default server: every operation answers E_FAIL and empty values.
#pragma once

#include <oks/platform/broker.h>
#include <oks/platform/session.h>
#include <oks/platform/zor_unicode_string.h>
#include <oks/types/product_types.h>
#include <oks/types/qem_config.h>

namespace oks {

using QEM_ProductTypes::Node;
using QEM_ProductTypes::NodeSeq;
using QEM_ProductTypes::XNode;
using QEM_ProductTypes::XNodeSeq;
using AttributeFilters = ZORListPtrQEMIQAttributeFilterObject;
using ObjectQueries = ZORListPtrQEMIQObjectQuery;

class Server {
 public:
  virtual ~Server() = default;

  // --- QEM_ConfigImplementation_1::ConfigImplementation ----------------------------------------
  virtual HRESULT addCO(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT addProductType1(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT deleteProductType1(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT displayAllFilterVersions(const XNode& in, XNodeSeq*& out);
  virtual HRESULT getCHList(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT getCVFromPRC(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT getCVListFromProductType(const Node& in, NodeSeq*& out);
  virtual HRESULT getChildren(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT getConfigTree(const Node& in, NodeSeq*& out);
  virtual HRESULT getPCSpecTree2(const NodeSeq& in, NodeSeq*& out);
  virtual HRESULT getPRCAndCVFromCH(const Node& in, NodeSeq*& out);
  virtual HRESULT getPRCAndCVFromPS(const Node& in, NodeSeq*& out);
  virtual HRESULT getPRCFromCV(const Node& in, Node*& out);
  virtual HRESULT getPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT getPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT getVSChildren(const XNode& in, XNodeSeq*& out);
  virtual HRESULT setPtAuthorizedSpecs(const XNodeSeq& in, XNodeSeq*& out);
  virtual HRESULT setPtTypedefSpecs(const XNodeSeq& in, XNodeSeq*& out);

  virtual HRESULT addCV(const XNode& param0, XNode& param1);
  virtual HRESULT deleteModification(_IDL_SEQUENCE_octet uuid);
  virtual HRESULT deletePS(const Node& node);
  virtual HRESULT deleteProductType(const Node& node);
  virtual HRESULT resetFilter(const Node& node);
  virtual HRESULT setFilter150Mode();
  virtual HRESULT unsetFilter150Mode();
  virtual HRESULT validatePTSpecs(const XNode& node);
  virtual HRESULT getCHNames(const Node& param0, const Node& param1, ZORListValZORUnicodeString& names);
  virtual HRESULT getAllEffectivities(const Node& param0, const Node& param1,
                                      QEMConfig::NormalValueSeq* values);

  virtual HRESULT getProdSpec(const XNode& owner, NodeSeq*& specs, QEMConfig::NormalValueSeq*& values,
                              ZORUnicodeString& firstText, const QEMConfig::NormalValueSeq& inputValues,
                              const ZORUnicodeString& domain, unsigned char& hideUnsolvedMode,
                              QEMConfig::MultiCOFilter*& filter, AttributeFilters*& criteria,
                              ZORUnicodeString& secondText, unsigned char& caseSensitive);
  virtual HRESULT addProdSpec(const XNode& first, const XNode& second, const ZORUnicodeString& version,
                              const NodeSeq& specs, const QEMConfig::NormalValueSeq& values,
                              const ZORUnicodeString& param5, XNode*& created, const unsigned char flag);
  virtual HRESULT setProdSpec(const XNode& owner, const NodeSeq& specs,
                              const QEMConfig::NormalValueSeq& values, const ZORUnicodeString& domain,
                              const unsigned char hideUnsolvedMode, const QEMConfig::MultiCOFilter& filter,
                              const AttributeFilters* criteria, const unsigned char caseSensitive,
                              const ZORUnicodeString& criteriaType);
  virtual HRESULT filterSpecs(const Node& object, const QEMConfig::NormalValueSeq& values,
                              const ZORUnicodeString& domain, const int& specOnly, const NodeSeq& tree,
                              NodeSeq*& filtered);
  virtual HRESULT rbcValidate(const Node& object, const QEMConfig::NormalValueSeq& values,
                              const ZORUnicodeString& domain, NodeSeq& specs, Node*& outcome);
  virtual HRESULT addCOProdSpec(const XNodeSeq& sources, int carryOver, XNode*& created);
  virtual HRESULT addSupportedProdSpec(const XNodeSeq& sources, XNode*& created);
  virtual HRESULT carryOverPSExists(const XNodeSeq& nodes, unsigned char& exists);
  virtual HRESULT initSpecs(const Node& configurable, const NodeSeq& selected, NodeSeq*& specs);
  virtual HRESULT verifySpecs(const Node& configurable, const NodeSeq& selected, const NodeSeq& selectedSpecs,
                              Node*& outcome);

  virtual HRESULT addCH(const Node& first, const Node& second, const QEMConfig::MultiCOFilter& filter,
                        const ZORUnicodeString& id, const ZORUnicodeString& description,
                        const ZORUnicodeString& mode, const int& filterMode,
                        const unsigned char& filter150Mode, const unsigned char& hideUnsolvedMode,
                        const ZORUnicodeString& criterionType, const unsigned char caseSensitive,
                        const AttributeFilters* attributeFilters, XNode*& handler);
  virtual HRESULT getCHFilter(const Node& first, const Node& second, const ZORUnicodeString& name,
                              QEMConfig::MultiCOFilter*& filter, int& filterMode,
                              unsigned char& filter150Mode, unsigned char& hideUnsolvedMode,
                              ObjectQueries*& queries, AttributeFilters*& attributeFilters,
                              ZORUnicodeString& criterionType, unsigned char& caseSensitive);
  virtual HRESULT setFilter(const Node& node, const QEMConfig::MultiCOFilter& filter, const int& filterMode,
                            const unsigned char& filter150Mode, const unsigned char& hideUnsolvedMode);
  virtual HRESULT getFilter(const Node& node, QEMConfig::MultiCOFilter*& filter, int& filterMode,
                            unsigned char& filter150Mode, unsigned char& hideUnsolvedMode);
  virtual HRESULT getPSFilter(const Node& node, QEMConfig::MultiCOFilter*& filter);
  virtual HRESULT createFilterVersion(const XNode& handler, XNode*& version);
  virtual HRESULT deleteCH(const Node& first, const Node& second, const ZORUnicodeString& name);
  virtual HRESULT deleteCO(const Node& node, const ZORUnicodeString& name);

  virtual HRESULT isPUE(const XNode& node, const ZORUnicodeString& text, ZORListValZORUnicodeString& answer);
  virtual HRESULT propagateEffectivity(const XNode& node, const QEMConfig::MultiCOFilter& filter,
                                       const int filterMode, const int filter150Mode);
  virtual HRESULT getMileStoneValues(const Node& node, QEMConfig::MileStoneValueSeq*& milestones);
  virtual HRESULT getPCSpecTree(const Node& node, const QEMConfig::NormalValueSeq& values,
                                const ZORUnicodeString& domain, NodeSeq*& nodes);
  virtual HRESULT isCarryOver(const XNode& node, unsigned char& carryOver);

  // --- ConfigurationImplementation_1 --------------------------------------------------------
  virtual HRESULT isEffectivityDefined(unsigned char& defined, const XNodeSeq& nodes);
  virtual HRESULT getPtApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                     const XNodeSeq& nodes);
  virtual HRESULT getSpecApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                       const XNodeSeq& nodes);
  virtual HRESULT setPtApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                                     const XNodeSeq& nodes);
  virtual HRESULT setSpecApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                                       const XNodeSeq& nodes);
  virtual HRESULT displayPtSpecEffectivity(const XNodeSeq& nodes, ZORUnicodeString& description);

  // --- Static services ----------------------------------------------------------------------
  virtual HRESULT isIWAppSet();
  virtual HRESULT IsECOMod(ZORICfgModification_var& modification);
  virtual HRESULT RetrieveModOwner(const ZORICfgModification_var& modification,
                                   ZORListValZORUnicodeString& owner);
  virtual HRESULT RetrieveActionFromModif(const ZORICfgModification_var& modification,
                                          ZORIQemAFLAction_var& action);
  virtual HRESULT ExtendEffectivity(const XNodeSeq& nodes, const _SEQUENCE_octet* uuid);
  virtual HRESULT setValuesOnObject(const ZORIQemFactoryObject_var& object, const XNode& values,
                                    const ZORUnicodeString& mask, CORBA::Environment& environment);
  virtual HRESULT getCV(const ZORIQemFactoryObject_var& object, ZORIConfigurableObject_var& configurable);
  virtual HRESULT getCHNameVersion(const ZORIConfigurableObject_var& configurable,
                                   const ZORUnicodeString& name, ZORUnicodeString& id,
                                   ZORUnicodeString& version);
  virtual ZORIConfigHandler_var GetConfigHandler(const ZORIConfigurableObject_var& configurable,
                                                 const ZORUnicodeString& id, const ZORUnicodeString& version);

  // --- Session services and the root desktop ------------------------------------------------
  virtual ZORBaseUnknown_var GetFactoryObjectByUUID(const _SEQUENCE_octet& uuid);
  virtual ApplicationObject* GetAppObjectByUUID(const _SEQUENCE_octet& uuid);
  virtual ApplicationObject* GetAppObjectByObject(const ZORIQemFactoryObject_var& object, const char* text);
  // Whether the extended-node view of the application object can be made.
  virtual bool ApplicationXNode(ApplicationObject* object);
  virtual XNode* GetOrbixXNode(ApplicationObject* object, short a, short b);
  virtual HRESULT SetCurrentMask(const ZORUnicodeString& mask);
  virtual ZORUnicodeString GetDataDomain();
  virtual ZORIRootDesktop_var GetRootDesktop();
  virtual HRESULT PushEnvironment(const ZORUnicodeString& environment);
  virtual HRESULT PopEnvironment();

  // --- Model interfaces (called on the object given first) ----------------------------------
  virtual HRESULT GetParent(const ServerObject& modification, ZORICfgModification_var& parent);
  virtual HRESULT IsClose(const ServerObject& action);
};

// The installed server (the default server when none is).
Server& server();
// Installs a server; null restores the default.
void setServer(Server* s);

// Installs a server for the lifetime of the object and restores the previous one.
class ScopedServer {
 public:
  explicit ScopedServer(Server* s);
  ~ScopedServer();
  ScopedServer(const ScopedServer&) = delete;
  ScopedServer& operator=(const ScopedServer&) = delete;

 private:
  Server* previous_;
};

}  // namespace oks
