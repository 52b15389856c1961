// The configuration service as the commands call it. Every operation forwards to the server
// seam; a service object holds nothing of its own.
#pragma once

#include <cstddef>
#include <new>

#include <oks/service/server.h>

namespace QEM_ConfigImplementation_1 {

class ConfigImplementation {
 public:
  ConfigImplementation() = default;
  virtual ~ConfigImplementation() = default;

  // Heap service objects come from here; the nothrow form yields null when fault injection
  // refuses the allocation.
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
  static void operator delete(void* p);

  virtual HRESULT addCO(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT addProductType1(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT deleteProductType1(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT displayAllFilterVersions(const QEM_ProductTypes::XNode& in,
                                           QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT getCHList(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT getCVFromPRC(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT getCVListFromProductType(const QEM_ProductTypes::Node& in, QEM_ProductTypes::NodeSeq*& out);
  virtual HRESULT getChildren(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT getConfigTree(const QEM_ProductTypes::Node& in, QEM_ProductTypes::NodeSeq*& out);
  virtual HRESULT getPCSpecTree2(const QEM_ProductTypes::NodeSeq& in, QEM_ProductTypes::NodeSeq*& out);
  virtual HRESULT getPRCAndCVFromCH(const QEM_ProductTypes::Node& in, QEM_ProductTypes::NodeSeq*& out);
  virtual HRESULT getPRCAndCVFromPS(const QEM_ProductTypes::Node& in, QEM_ProductTypes::NodeSeq*& out);
  virtual HRESULT getPRCFromCV(const QEM_ProductTypes::Node& in, QEM_ProductTypes::Node*& out);
  virtual HRESULT getPtAuthorizedSpecs(const QEM_ProductTypes::XNodeSeq& in,
                                       QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT getPtTypedefSpecs(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT getVSChildren(const QEM_ProductTypes::XNode& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT setPtAuthorizedSpecs(const QEM_ProductTypes::XNodeSeq& in,
                                       QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT setPtTypedefSpecs(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out);
  virtual HRESULT addCV(const QEM_ProductTypes::XNode& param0, QEM_ProductTypes::XNode& param1);
  virtual HRESULT deleteModification(_IDL_SEQUENCE_octet uuid);
  virtual HRESULT deletePS(const QEM_ProductTypes::Node& node);
  virtual HRESULT deleteProductType(const QEM_ProductTypes::Node& node);
  virtual HRESULT resetFilter(const QEM_ProductTypes::Node& node);
  virtual HRESULT setFilter150Mode();
  virtual HRESULT unsetFilter150Mode();
  virtual HRESULT validatePTSpecs(const QEM_ProductTypes::XNode& node);
  virtual HRESULT getCHNames(const QEM_ProductTypes::Node& param0, const QEM_ProductTypes::Node& param1,
                             ZORListValZORUnicodeString& names);
  virtual HRESULT getAllEffectivities(const QEM_ProductTypes::Node& param0,
                                      const QEM_ProductTypes::Node& param1,
                                      QEMConfig::NormalValueSeq* values);
  virtual HRESULT getProdSpec(const QEM_ProductTypes::XNode& owner, QEM_ProductTypes::NodeSeq*& specs,
                              QEMConfig::NormalValueSeq*& values, ZORUnicodeString& firstText,
                              const QEMConfig::NormalValueSeq& inputValues, const ZORUnicodeString& domain,
                              unsigned char& hideUnsolvedMode, QEMConfig::MultiCOFilter*& filter,
                              ZORListPtrQEMIQAttributeFilterObject*& criteria, ZORUnicodeString& secondText,
                              unsigned char& caseSensitive);
  virtual HRESULT addProdSpec(const QEM_ProductTypes::XNode& first, const QEM_ProductTypes::XNode& second,
                              const ZORUnicodeString& version, const QEM_ProductTypes::NodeSeq& specs,
                              const QEMConfig::NormalValueSeq& values, const ZORUnicodeString& param5,
                              QEM_ProductTypes::XNode*& created, const unsigned char flag);
  virtual HRESULT setProdSpec(const QEM_ProductTypes::XNode& owner, const QEM_ProductTypes::NodeSeq& specs,
                              const QEMConfig::NormalValueSeq& values, const ZORUnicodeString& domain,
                              const unsigned char hideUnsolvedMode, const QEMConfig::MultiCOFilter& filter,
                              const ZORListPtrQEMIQAttributeFilterObject* criteria,
                              const unsigned char caseSensitive, const ZORUnicodeString& criteriaType);
  virtual HRESULT filterSpecs(const QEM_ProductTypes::Node& object, const QEMConfig::NormalValueSeq& values,
                              const ZORUnicodeString& domain, const int& specOnly,
                              const QEM_ProductTypes::NodeSeq& tree, QEM_ProductTypes::NodeSeq*& filtered);
  virtual HRESULT rbcValidate(const QEM_ProductTypes::Node& object, const QEMConfig::NormalValueSeq& values,
                              const ZORUnicodeString& domain, QEM_ProductTypes::NodeSeq& specs,
                              QEM_ProductTypes::Node*& outcome);
  virtual HRESULT addCOProdSpec(const QEM_ProductTypes::XNodeSeq& sources, int carryOver,
                                QEM_ProductTypes::XNode*& created);
  virtual HRESULT addSupportedProdSpec(const QEM_ProductTypes::XNodeSeq& sources,
                                       QEM_ProductTypes::XNode*& created);
  virtual HRESULT carryOverPSExists(const QEM_ProductTypes::XNodeSeq& nodes, unsigned char& exists);
  virtual HRESULT initSpecs(const QEM_ProductTypes::Node& configurable,
                            const QEM_ProductTypes::NodeSeq& selected, QEM_ProductTypes::NodeSeq*& specs);
  virtual HRESULT verifySpecs(const QEM_ProductTypes::Node& configurable,
                              const QEM_ProductTypes::NodeSeq& selected,
                              const QEM_ProductTypes::NodeSeq& selectedSpecs,
                              QEM_ProductTypes::Node*& outcome);
  virtual HRESULT addCH(const QEM_ProductTypes::Node& first, const QEM_ProductTypes::Node& second,
                        const QEMConfig::MultiCOFilter& filter, const ZORUnicodeString& id,
                        const ZORUnicodeString& description, const ZORUnicodeString& mode,
                        const int& filterMode, const unsigned char& filter150Mode,
                        const unsigned char& hideUnsolvedMode, const ZORUnicodeString& criterionType,
                        const unsigned char caseSensitive,
                        const ZORListPtrQEMIQAttributeFilterObject* attributeFilters,
                        QEM_ProductTypes::XNode*& handler);
  virtual HRESULT getCHFilter(const QEM_ProductTypes::Node& first, const QEM_ProductTypes::Node& second,
                              const ZORUnicodeString& name, QEMConfig::MultiCOFilter*& filter,
                              int& filterMode, unsigned char& filter150Mode, unsigned char& hideUnsolvedMode,
                              ZORListPtrQEMIQObjectQuery*& queries,
                              ZORListPtrQEMIQAttributeFilterObject*& attributeFilters,
                              ZORUnicodeString& criterionType, unsigned char& caseSensitive);
  virtual HRESULT setFilter(const QEM_ProductTypes::Node& node, const QEMConfig::MultiCOFilter& filter,
                            const int& filterMode, const unsigned char& filter150Mode,
                            const unsigned char& hideUnsolvedMode);
  virtual HRESULT getFilter(const QEM_ProductTypes::Node& node, QEMConfig::MultiCOFilter*& filter,
                            int& filterMode, unsigned char& filter150Mode, unsigned char& hideUnsolvedMode);
  virtual HRESULT getPSFilter(const QEM_ProductTypes::Node& node, QEMConfig::MultiCOFilter*& filter);
  virtual HRESULT createFilterVersion(const QEM_ProductTypes::XNode& handler,
                                      QEM_ProductTypes::XNode*& version);
  virtual HRESULT deleteCH(const QEM_ProductTypes::Node& first, const QEM_ProductTypes::Node& second,
                           const ZORUnicodeString& name);
  virtual HRESULT deleteCO(const QEM_ProductTypes::Node& node, const ZORUnicodeString& name);
  virtual HRESULT isPUE(const QEM_ProductTypes::XNode& node, const ZORUnicodeString& text,
                        ZORListValZORUnicodeString& answer);
  virtual HRESULT propagateEffectivity(const QEM_ProductTypes::XNode& node,
                                       const QEMConfig::MultiCOFilter& filter, const int filterMode,
                                       const int filter150Mode);
  virtual HRESULT getMileStoneValues(const QEM_ProductTypes::Node& node,
                                     QEMConfig::MileStoneValueSeq*& milestones);
  virtual HRESULT getPCSpecTree(const QEM_ProductTypes::Node& node, const QEMConfig::NormalValueSeq& values,
                                const ZORUnicodeString& domain, QEM_ProductTypes::NodeSeq*& nodes);
  virtual HRESULT isCarryOver(const QEM_ProductTypes::XNode& node, unsigned char& carryOver);
};

}  // namespace QEM_ConfigImplementation_1

// The applicability and effectivity-display class of the configuration service.
class ConfigurationImplementation_1 {
 public:
  ConfigurationImplementation_1() = default;
  virtual ~ConfigurationImplementation_1() = default;

  virtual HRESULT isEffectivityDefined(unsigned char& defined, const QEM_ProductTypes::XNodeSeq& nodes);
  virtual HRESULT getPtApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                     const QEM_ProductTypes::XNodeSeq& nodes);
  virtual HRESULT getSpecApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                       const QEM_ProductTypes::XNodeSeq& nodes);
  virtual HRESULT setPtApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                                     const QEM_ProductTypes::XNodeSeq& nodes);
  virtual HRESULT setSpecApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                                       const QEM_ProductTypes::XNodeSeq& nodes);
  virtual HRESULT displayPtSpecEffectivity(const QEM_ProductTypes::XNodeSeq& nodes,
                                           ZORUnicodeString& description);
};

class QEM_ConfigUtils {
 public:
  static HRESULT setValuesOnObject(const ZORIQemFactoryObject_var& object,
                                   const QEM_ProductTypes::XNode& values, const ZORUnicodeString& mask,
                                   CORBA::Environment& environment);
};

class QEM_ConfigServicesCH {
 public:
  static HRESULT getCHNameVersion(const ZORIConfigurableObject_var& configurable,
                                  const ZORUnicodeString& name, ZORUnicodeString& id,
                                  ZORUnicodeString& version);
  static ZORIConfigHandler_var GetConfigHandler(const ZORIConfigurableObject_var& configurable,
                                                const ZORUnicodeString& id, const ZORUnicodeString& version);
};

class QEM_ConfigServicesEXT {
 public:
  static HRESULT RetrieveModOwner(const ZORICfgModification_var modification,
                                  ZORListValZORUnicodeString& owner);
  static HRESULT RetrieveActionFromModif(const ZORICfgModification_var modification,
                                         ZORIQemAFLAction_var& action);
  static HRESULT ExtendEffectivity(const QEM_ProductTypes::XNodeSeq nodes, const _SEQUENCE_octet* uuid);
};

class ZORCfgServices {
 public:
  static HRESULT isIWAppSet();
  static HRESULT IsECOMod(ZORICfgModification_var& modification);
};

class GenVarUtil {
 public:
  static HRESULT getCV(const ZORIQemFactoryObject_var& object, ZORIConfigurableObject_var& configurable);
};
