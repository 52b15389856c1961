#include <oks/platform/faults.h>
#include <oks/service/config_service.h>

namespace QEM_ConfigImplementation_1 {

void* ConfigImplementation::operator new(std::size_t size) { return ::operator new(size); }

void* ConfigImplementation::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (oks::allocationFails(oks::AllocKind::Service)) return nullptr;
  return ::operator new(size, std::nothrow);
}

void ConfigImplementation::operator delete(void* p) { ::operator delete(p); }

HRESULT ConfigImplementation::addCO(const QEM_ProductTypes::XNodeSeq& in, QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().addCO(in, out);
}
HRESULT ConfigImplementation::addProductType1(const QEM_ProductTypes::XNodeSeq& in,
                                              QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().addProductType1(in, out);
}
HRESULT ConfigImplementation::deleteProductType1(const QEM_ProductTypes::XNodeSeq& in,
                                                 QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().deleteProductType1(in, out);
}
HRESULT ConfigImplementation::displayAllFilterVersions(const QEM_ProductTypes::XNode& in,
                                                       QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().displayAllFilterVersions(in, out);
}
HRESULT ConfigImplementation::getCHList(const QEM_ProductTypes::XNodeSeq& in,
                                        QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().getCHList(in, out);
}
HRESULT ConfigImplementation::getCVFromPRC(const QEM_ProductTypes::XNodeSeq& in,
                                           QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().getCVFromPRC(in, out);
}
HRESULT ConfigImplementation::getCVListFromProductType(const QEM_ProductTypes::Node& in,
                                                       QEM_ProductTypes::NodeSeq*& out) {
  return oks::server().getCVListFromProductType(in, out);
}
HRESULT ConfigImplementation::getChildren(const QEM_ProductTypes::XNodeSeq& in,
                                          QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().getChildren(in, out);
}
HRESULT ConfigImplementation::getConfigTree(const QEM_ProductTypes::Node& in,
                                            QEM_ProductTypes::NodeSeq*& out) {
  return oks::server().getConfigTree(in, out);
}
HRESULT ConfigImplementation::getPCSpecTree2(const QEM_ProductTypes::NodeSeq& in,
                                             QEM_ProductTypes::NodeSeq*& out) {
  return oks::server().getPCSpecTree2(in, out);
}
HRESULT ConfigImplementation::getPRCAndCVFromCH(const QEM_ProductTypes::Node& in,
                                                QEM_ProductTypes::NodeSeq*& out) {
  return oks::server().getPRCAndCVFromCH(in, out);
}
HRESULT ConfigImplementation::getPRCAndCVFromPS(const QEM_ProductTypes::Node& in,
                                                QEM_ProductTypes::NodeSeq*& out) {
  return oks::server().getPRCAndCVFromPS(in, out);
}
HRESULT ConfigImplementation::getPRCFromCV(const QEM_ProductTypes::Node& in, QEM_ProductTypes::Node*& out) {
  return oks::server().getPRCFromCV(in, out);
}
HRESULT ConfigImplementation::getPtAuthorizedSpecs(const QEM_ProductTypes::XNodeSeq& in,
                                                   QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().getPtAuthorizedSpecs(in, out);
}
HRESULT ConfigImplementation::getPtTypedefSpecs(const QEM_ProductTypes::XNodeSeq& in,
                                                QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().getPtTypedefSpecs(in, out);
}
HRESULT ConfigImplementation::getVSChildren(const QEM_ProductTypes::XNode& in,
                                            QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().getVSChildren(in, out);
}
HRESULT ConfigImplementation::setPtAuthorizedSpecs(const QEM_ProductTypes::XNodeSeq& in,
                                                   QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().setPtAuthorizedSpecs(in, out);
}
HRESULT ConfigImplementation::setPtTypedefSpecs(const QEM_ProductTypes::XNodeSeq& in,
                                                QEM_ProductTypes::XNodeSeq*& out) {
  return oks::server().setPtTypedefSpecs(in, out);
}
HRESULT ConfigImplementation::addCV(const QEM_ProductTypes::XNode& param0, QEM_ProductTypes::XNode& param1) {
  return oks::server().addCV(param0, param1);
}
HRESULT ConfigImplementation::deleteModification(_IDL_SEQUENCE_octet uuid) {
  return oks::server().deleteModification(uuid);
}
HRESULT ConfigImplementation::deletePS(const QEM_ProductTypes::Node& node) {
  return oks::server().deletePS(node);
}
HRESULT ConfigImplementation::deleteProductType(const QEM_ProductTypes::Node& node) {
  return oks::server().deleteProductType(node);
}
HRESULT ConfigImplementation::resetFilter(const QEM_ProductTypes::Node& node) {
  return oks::server().resetFilter(node);
}
HRESULT ConfigImplementation::setFilter150Mode() { return oks::server().setFilter150Mode(); }
HRESULT ConfigImplementation::unsetFilter150Mode() { return oks::server().unsetFilter150Mode(); }
HRESULT ConfigImplementation::validatePTSpecs(const QEM_ProductTypes::XNode& node) {
  return oks::server().validatePTSpecs(node);
}
HRESULT ConfigImplementation::getCHNames(const QEM_ProductTypes::Node& param0,
                                         const QEM_ProductTypes::Node& param1,
                                         ZORListValZORUnicodeString& names) {
  return oks::server().getCHNames(param0, param1, names);
}
HRESULT ConfigImplementation::getAllEffectivities(const QEM_ProductTypes::Node& param0,
                                                  const QEM_ProductTypes::Node& param1,
                                                  QEMConfig::NormalValueSeq* values) {
  return oks::server().getAllEffectivities(param0, param1, values);
}
HRESULT ConfigImplementation::getProdSpec(const QEM_ProductTypes::XNode& owner,
                                          QEM_ProductTypes::NodeSeq*& specs,
                                          QEMConfig::NormalValueSeq*& values, ZORUnicodeString& firstText,
                                          const QEMConfig::NormalValueSeq& inputValues,
                                          const ZORUnicodeString& domain, unsigned char& hideUnsolvedMode,
                                          QEMConfig::MultiCOFilter*& filter,
                                          ZORListPtrQEMIQAttributeFilterObject*& criteria,
                                          ZORUnicodeString& secondText, unsigned char& caseSensitive) {
  return oks::server().getProdSpec(owner, specs, values, firstText, inputValues, domain, hideUnsolvedMode,
                                   filter, criteria, secondText, caseSensitive);
}
HRESULT ConfigImplementation::addProdSpec(const QEM_ProductTypes::XNode& first,
                                          const QEM_ProductTypes::XNode& second,
                                          const ZORUnicodeString& version,
                                          const QEM_ProductTypes::NodeSeq& specs,
                                          const QEMConfig::NormalValueSeq& values,
                                          const ZORUnicodeString& param5, QEM_ProductTypes::XNode*& created,
                                          const unsigned char flag) {
  return oks::server().addProdSpec(first, second, version, specs, values, param5, created, flag);
}
HRESULT ConfigImplementation::setProdSpec(
    const QEM_ProductTypes::XNode& owner, const QEM_ProductTypes::NodeSeq& specs,
    const QEMConfig::NormalValueSeq& values, const ZORUnicodeString& domain,
    const unsigned char hideUnsolvedMode, const QEMConfig::MultiCOFilter& filter,
    const ZORListPtrQEMIQAttributeFilterObject* criteria, const unsigned char caseSensitive,
    const ZORUnicodeString& criteriaType) {
  return oks::server().setProdSpec(owner, specs, values, domain, hideUnsolvedMode, filter, criteria,
                                   caseSensitive, criteriaType);
}
HRESULT ConfigImplementation::filterSpecs(const QEM_ProductTypes::Node& object,
                                          const QEMConfig::NormalValueSeq& values,
                                          const ZORUnicodeString& domain, const int& specOnly,
                                          const QEM_ProductTypes::NodeSeq& tree,
                                          QEM_ProductTypes::NodeSeq*& filtered) {
  return oks::server().filterSpecs(object, values, domain, specOnly, tree, filtered);
}
HRESULT ConfigImplementation::rbcValidate(const QEM_ProductTypes::Node& object,
                                          const QEMConfig::NormalValueSeq& values,
                                          const ZORUnicodeString& domain, QEM_ProductTypes::NodeSeq& specs,
                                          QEM_ProductTypes::Node*& outcome) {
  return oks::server().rbcValidate(object, values, domain, specs, outcome);
}
HRESULT ConfigImplementation::addCOProdSpec(const QEM_ProductTypes::XNodeSeq& sources, int carryOver,
                                            QEM_ProductTypes::XNode*& created) {
  return oks::server().addCOProdSpec(sources, carryOver, created);
}
HRESULT ConfigImplementation::addSupportedProdSpec(const QEM_ProductTypes::XNodeSeq& sources,
                                                   QEM_ProductTypes::XNode*& created) {
  return oks::server().addSupportedProdSpec(sources, created);
}
HRESULT ConfigImplementation::carryOverPSExists(const QEM_ProductTypes::XNodeSeq& nodes,
                                                unsigned char& exists) {
  return oks::server().carryOverPSExists(nodes, exists);
}
HRESULT ConfigImplementation::initSpecs(const QEM_ProductTypes::Node& configurable,
                                        const QEM_ProductTypes::NodeSeq& selected,
                                        QEM_ProductTypes::NodeSeq*& specs) {
  return oks::server().initSpecs(configurable, selected, specs);
}
HRESULT ConfigImplementation::verifySpecs(const QEM_ProductTypes::Node& configurable,
                                          const QEM_ProductTypes::NodeSeq& selected,
                                          const QEM_ProductTypes::NodeSeq& selectedSpecs,
                                          QEM_ProductTypes::Node*& outcome) {
  return oks::server().verifySpecs(configurable, selected, selectedSpecs, outcome);
}
HRESULT ConfigImplementation::addCH(const QEM_ProductTypes::Node& first, const QEM_ProductTypes::Node& second,
                                    const QEMConfig::MultiCOFilter& filter, const ZORUnicodeString& id,
                                    const ZORUnicodeString& description, const ZORUnicodeString& mode,
                                    const int& filterMode, const unsigned char& filter150Mode,
                                    const unsigned char& hideUnsolvedMode,
                                    const ZORUnicodeString& criterionType, const unsigned char caseSensitive,
                                    const ZORListPtrQEMIQAttributeFilterObject* attributeFilters,
                                    QEM_ProductTypes::XNode*& handler) {
  return oks::server().addCH(first, second, filter, id, description, mode, filterMode, filter150Mode,
                             hideUnsolvedMode, criterionType, caseSensitive, attributeFilters, handler);
}
HRESULT ConfigImplementation::getCHFilter(const QEM_ProductTypes::Node& first,
                                          const QEM_ProductTypes::Node& second, const ZORUnicodeString& name,
                                          QEMConfig::MultiCOFilter*& filter, int& filterMode,
                                          unsigned char& filter150Mode, unsigned char& hideUnsolvedMode,
                                          ZORListPtrQEMIQObjectQuery*& queries,
                                          ZORListPtrQEMIQAttributeFilterObject*& attributeFilters,
                                          ZORUnicodeString& criterionType, unsigned char& caseSensitive) {
  return oks::server().getCHFilter(first, second, name, filter, filterMode, filter150Mode, hideUnsolvedMode,
                                   queries, attributeFilters, criterionType, caseSensitive);
}
HRESULT ConfigImplementation::setFilter(const QEM_ProductTypes::Node& node,
                                        const QEMConfig::MultiCOFilter& filter, const int& filterMode,
                                        const unsigned char& filter150Mode,
                                        const unsigned char& hideUnsolvedMode) {
  return oks::server().setFilter(node, filter, filterMode, filter150Mode, hideUnsolvedMode);
}
HRESULT ConfigImplementation::getFilter(const QEM_ProductTypes::Node& node, QEMConfig::MultiCOFilter*& filter,
                                        int& filterMode, unsigned char& filter150Mode,
                                        unsigned char& hideUnsolvedMode) {
  return oks::server().getFilter(node, filter, filterMode, filter150Mode, hideUnsolvedMode);
}
HRESULT ConfigImplementation::getPSFilter(const QEM_ProductTypes::Node& node,
                                          QEMConfig::MultiCOFilter*& filter) {
  return oks::server().getPSFilter(node, filter);
}
HRESULT ConfigImplementation::createFilterVersion(const QEM_ProductTypes::XNode& handler,
                                                  QEM_ProductTypes::XNode*& version) {
  return oks::server().createFilterVersion(handler, version);
}
HRESULT ConfigImplementation::deleteCH(const QEM_ProductTypes::Node& first,
                                       const QEM_ProductTypes::Node& second, const ZORUnicodeString& name) {
  return oks::server().deleteCH(first, second, name);
}
HRESULT ConfigImplementation::deleteCO(const QEM_ProductTypes::Node& node, const ZORUnicodeString& name) {
  return oks::server().deleteCO(node, name);
}
HRESULT ConfigImplementation::isPUE(const QEM_ProductTypes::XNode& node, const ZORUnicodeString& text,
                                    ZORListValZORUnicodeString& answer) {
  return oks::server().isPUE(node, text, answer);
}
HRESULT ConfigImplementation::propagateEffectivity(const QEM_ProductTypes::XNode& node,
                                                   const QEMConfig::MultiCOFilter& filter,
                                                   const int filterMode, const int filter150Mode) {
  return oks::server().propagateEffectivity(node, filter, filterMode, filter150Mode);
}
HRESULT ConfigImplementation::getMileStoneValues(const QEM_ProductTypes::Node& node,
                                                 QEMConfig::MileStoneValueSeq*& milestones) {
  return oks::server().getMileStoneValues(node, milestones);
}
HRESULT ConfigImplementation::getPCSpecTree(const QEM_ProductTypes::Node& node,
                                            const QEMConfig::NormalValueSeq& values,
                                            const ZORUnicodeString& domain,
                                            QEM_ProductTypes::NodeSeq*& nodes) {
  return oks::server().getPCSpecTree(node, values, domain, nodes);
}
HRESULT ConfigImplementation::isCarryOver(const QEM_ProductTypes::XNode& node, unsigned char& carryOver) {
  return oks::server().isCarryOver(node, carryOver);
}

}  // namespace QEM_ConfigImplementation_1

HRESULT ConfigurationImplementation_1::isEffectivityDefined(unsigned char& defined,
                                                            const QEM_ProductTypes::XNodeSeq& nodes) {
  return oks::server().isEffectivityDefined(defined, nodes);
}
HRESULT ConfigurationImplementation_1::getPtApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                                          const QEM_ProductTypes::XNodeSeq& nodes) {
  return oks::server().getPtApplicability(applicabilities, nodes);
}
HRESULT ConfigurationImplementation_1::getSpecApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                                            const QEM_ProductTypes::XNodeSeq& nodes) {
  return oks::server().getSpecApplicability(applicabilities, nodes);
}
HRESULT ConfigurationImplementation_1::setPtApplicability(
    const QEMConfig::DomainEffectivitySeq& applicabilities, const QEM_ProductTypes::XNodeSeq& nodes) {
  return oks::server().setPtApplicability(applicabilities, nodes);
}
HRESULT ConfigurationImplementation_1::setSpecApplicability(
    const QEMConfig::DomainEffectivitySeq& applicabilities, const QEM_ProductTypes::XNodeSeq& nodes) {
  return oks::server().setSpecApplicability(applicabilities, nodes);
}
HRESULT ConfigurationImplementation_1::displayPtSpecEffectivity(const QEM_ProductTypes::XNodeSeq& nodes,
                                                                ZORUnicodeString& description) {
  return oks::server().displayPtSpecEffectivity(nodes, description);
}

HRESULT QEM_ConfigUtils::setValuesOnObject(const ZORIQemFactoryObject_var& object,
                                           const QEM_ProductTypes::XNode& values,
                                           const ZORUnicodeString& mask, CORBA::Environment& environment) {
  return oks::server().setValuesOnObject(object, values, mask, environment);
}

HRESULT QEM_ConfigServicesCH::getCHNameVersion(const ZORIConfigurableObject_var& configurable,
                                               const ZORUnicodeString& name, ZORUnicodeString& id,
                                               ZORUnicodeString& version) {
  return oks::server().getCHNameVersion(configurable, name, id, version);
}

ZORIConfigHandler_var QEM_ConfigServicesCH::GetConfigHandler(const ZORIConfigurableObject_var& configurable,
                                                             const ZORUnicodeString& id,
                                                             const ZORUnicodeString& version) {
  return oks::server().GetConfigHandler(configurable, id, version);
}

HRESULT QEM_ConfigServicesEXT::RetrieveModOwner(const ZORICfgModification_var modification,
                                                ZORListValZORUnicodeString& owner) {
  return oks::server().RetrieveModOwner(modification, owner);
}

HRESULT QEM_ConfigServicesEXT::RetrieveActionFromModif(const ZORICfgModification_var modification,
                                                       ZORIQemAFLAction_var& action) {
  return oks::server().RetrieveActionFromModif(modification, action);
}

HRESULT QEM_ConfigServicesEXT::ExtendEffectivity(const QEM_ProductTypes::XNodeSeq nodes,
                                                 const _SEQUENCE_octet* uuid) {
  return oks::server().ExtendEffectivity(nodes, uuid);
}

HRESULT ZORCfgServices::isIWAppSet() { return oks::server().isIWAppSet(); }
HRESULT ZORCfgServices::IsECOMod(ZORICfgModification_var& modification) {
  return oks::server().IsECOMod(modification);
}

HRESULT GenVarUtil::getCV(const ZORIQemFactoryObject_var& object, ZORIConfigurableObject_var& configurable) {
  return oks::server().getCV(object, configurable);
}
