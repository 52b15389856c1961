#include <oks/service/server.h>

namespace oks {

// The default server: every operation fails with E_FAIL and leaves its outputs empty.
HRESULT Server::addCO(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::addProductType1(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::deleteProductType1(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::displayAllFilterVersions(const XNode&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::getCHList(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::getCVFromPRC(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::getCVListFromProductType(const Node&, NodeSeq*&) { return E_FAIL; }
HRESULT Server::getChildren(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::getConfigTree(const Node&, NodeSeq*&) { return E_FAIL; }
HRESULT Server::getPCSpecTree2(const NodeSeq&, NodeSeq*&) { return E_FAIL; }
HRESULT Server::getPRCAndCVFromCH(const Node&, NodeSeq*&) { return E_FAIL; }
HRESULT Server::getPRCAndCVFromPS(const Node&, NodeSeq*&) { return E_FAIL; }
HRESULT Server::getPRCFromCV(const Node&, Node*&) { return E_FAIL; }
HRESULT Server::getPtAuthorizedSpecs(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::getPtTypedefSpecs(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::getVSChildren(const XNode&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::setPtAuthorizedSpecs(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::setPtTypedefSpecs(const XNodeSeq&, XNodeSeq*&) { return E_FAIL; }
HRESULT Server::addCV(const XNode&, XNode&) { return E_FAIL; }
HRESULT Server::deleteModification(_IDL_SEQUENCE_octet) { return E_FAIL; }
HRESULT Server::deletePS(const Node&) { return E_FAIL; }
HRESULT Server::deleteProductType(const Node&) { return E_FAIL; }
HRESULT Server::resetFilter(const Node&) { return E_FAIL; }
HRESULT Server::setFilter150Mode() { return E_FAIL; }
HRESULT Server::unsetFilter150Mode() { return E_FAIL; }
HRESULT Server::validatePTSpecs(const XNode&) { return E_FAIL; }
HRESULT Server::getCHNames(const Node&, const Node&, ZORListValZORUnicodeString&) { return E_FAIL; }
HRESULT Server::getAllEffectivities(const Node&, const Node&, QEMConfig::NormalValueSeq*) { return E_FAIL; }
HRESULT Server::getProdSpec(const XNode&, NodeSeq*&, QEMConfig::NormalValueSeq*&, ZORUnicodeString&,
                            const QEMConfig::NormalValueSeq&, const ZORUnicodeString&, unsigned char&,
                            QEMConfig::MultiCOFilter*&, AttributeFilters*&, ZORUnicodeString&,
                            unsigned char&) {
  return E_FAIL;
}
HRESULT Server::addProdSpec(const XNode&, const XNode&, const ZORUnicodeString&, const NodeSeq&,
                            const QEMConfig::NormalValueSeq&, const ZORUnicodeString&, XNode*&,
                            const unsigned char) {
  return E_FAIL;
}
HRESULT Server::setProdSpec(const XNode&, const NodeSeq&, const QEMConfig::NormalValueSeq&,
                            const ZORUnicodeString&, const unsigned char, const QEMConfig::MultiCOFilter&,
                            const AttributeFilters*, const unsigned char, const ZORUnicodeString&) {
  return E_FAIL;
}
HRESULT Server::filterSpecs(const Node&, const QEMConfig::NormalValueSeq&, const ZORUnicodeString&,
                            const int&, const NodeSeq&, NodeSeq*&) {
  return E_FAIL;
}
HRESULT Server::rbcValidate(const Node&, const QEMConfig::NormalValueSeq&, const ZORUnicodeString&, NodeSeq&,
                            Node*&) {
  return E_FAIL;
}
HRESULT Server::addCOProdSpec(const XNodeSeq&, int, XNode*&) { return E_FAIL; }
HRESULT Server::addSupportedProdSpec(const XNodeSeq&, XNode*&) { return E_FAIL; }
HRESULT Server::carryOverPSExists(const XNodeSeq&, unsigned char&) { return E_FAIL; }
HRESULT Server::initSpecs(const Node&, const NodeSeq&, NodeSeq*&) { return E_FAIL; }
HRESULT Server::verifySpecs(const Node&, const NodeSeq&, const NodeSeq&, Node*&) { return E_FAIL; }
HRESULT Server::addCH(const Node&, const Node&, const QEMConfig::MultiCOFilter&, const ZORUnicodeString&,
                      const ZORUnicodeString&, const ZORUnicodeString&, const int&, const unsigned char&,
                      const unsigned char&, const ZORUnicodeString&, const unsigned char,
                      const AttributeFilters*, XNode*&) {
  return E_FAIL;
}
HRESULT Server::getCHFilter(const Node&, const Node&, const ZORUnicodeString&, QEMConfig::MultiCOFilter*&,
                            int&, unsigned char&, unsigned char&, ObjectQueries*&, AttributeFilters*&,
                            ZORUnicodeString&, unsigned char&) {
  return E_FAIL;
}
HRESULT Server::setFilter(const Node&, const QEMConfig::MultiCOFilter&, const int&, const unsigned char&,
                          const unsigned char&) {
  return E_FAIL;
}
HRESULT Server::getFilter(const Node&, QEMConfig::MultiCOFilter*&, int&, unsigned char&, unsigned char&) {
  return E_FAIL;
}
HRESULT Server::getPSFilter(const Node&, QEMConfig::MultiCOFilter*&) { return E_FAIL; }
HRESULT Server::createFilterVersion(const XNode&, XNode*&) { return E_FAIL; }
HRESULT Server::deleteCH(const Node&, const Node&, const ZORUnicodeString&) { return E_FAIL; }
HRESULT Server::deleteCO(const Node&, const ZORUnicodeString&) { return E_FAIL; }
HRESULT Server::isPUE(const XNode&, const ZORUnicodeString&, ZORListValZORUnicodeString&) { return E_FAIL; }
HRESULT Server::propagateEffectivity(const XNode&, const QEMConfig::MultiCOFilter&, const int, const int) {
  return E_FAIL;
}
HRESULT Server::getMileStoneValues(const Node&, QEMConfig::MileStoneValueSeq*&) { return E_FAIL; }
HRESULT Server::getPCSpecTree(const Node&, const QEMConfig::NormalValueSeq&, const ZORUnicodeString&,
                              NodeSeq*&) {
  return E_FAIL;
}
HRESULT Server::isCarryOver(const XNode&, unsigned char&) { return E_FAIL; }
HRESULT Server::isEffectivityDefined(unsigned char&, const XNodeSeq&) { return E_FAIL; }
HRESULT Server::getPtApplicability(QEMConfig::DomainEffectivitySeq*&, const XNodeSeq&) { return E_FAIL; }
HRESULT Server::getSpecApplicability(QEMConfig::DomainEffectivitySeq*&, const XNodeSeq&) { return E_FAIL; }
HRESULT Server::setPtApplicability(const QEMConfig::DomainEffectivitySeq&, const XNodeSeq&) { return E_FAIL; }
HRESULT Server::setSpecApplicability(const QEMConfig::DomainEffectivitySeq&, const XNodeSeq&) {
  return E_FAIL;
}
HRESULT Server::displayPtSpecEffectivity(const XNodeSeq&, ZORUnicodeString&) { return E_FAIL; }
HRESULT Server::isIWAppSet() { return E_FAIL; }
HRESULT Server::IsECOMod(ZORICfgModification_var&) { return E_FAIL; }
HRESULT Server::RetrieveModOwner(const ZORICfgModification_var&, ZORListValZORUnicodeString&) {
  return E_FAIL;
}
HRESULT Server::RetrieveActionFromModif(const ZORICfgModification_var&, ZORIQemAFLAction_var&) {
  return E_FAIL;
}
HRESULT Server::ExtendEffectivity(const XNodeSeq&, const _SEQUENCE_octet*) { return E_FAIL; }
HRESULT Server::setValuesOnObject(const ZORIQemFactoryObject_var&, const XNode&, const ZORUnicodeString&,
                                  CORBA::Environment&) {
  return E_FAIL;
}
HRESULT Server::getCV(const ZORIQemFactoryObject_var&, ZORIConfigurableObject_var&) { return E_FAIL; }
HRESULT Server::getCHNameVersion(const ZORIConfigurableObject_var&, const ZORUnicodeString&,
                                 ZORUnicodeString&, ZORUnicodeString&) {
  return E_FAIL;
}
ZORIConfigHandler_var Server::GetConfigHandler(const ZORIConfigurableObject_var&, const ZORUnicodeString&,
                                               const ZORUnicodeString&) {
  return {};
}
ZORBaseUnknown_var Server::GetFactoryObjectByUUID(const _SEQUENCE_octet&) { return {}; }
ApplicationObject* Server::GetAppObjectByUUID(const _SEQUENCE_octet&) { return nullptr; }
ApplicationObject* Server::GetAppObjectByObject(const ZORIQemFactoryObject_var&, const char*) {
  return nullptr;
}
bool Server::ApplicationXNode(ApplicationObject*) { return false; }
XNode* Server::GetOrbixXNode(ApplicationObject*, short, short) { return nullptr; }
HRESULT Server::SetCurrentMask(const ZORUnicodeString&) { return E_FAIL; }
ZORUnicodeString Server::GetDataDomain() { return {}; }
ZORIRootDesktop_var Server::GetRootDesktop() { return {}; }
HRESULT Server::PushEnvironment(const ZORUnicodeString&) { return E_FAIL; }
HRESULT Server::PopEnvironment() { return E_FAIL; }
HRESULT Server::GetParent(const ServerObject&, ZORICfgModification_var&) { return E_FAIL; }
HRESULT Server::IsClose(const ServerObject&) { return E_FAIL; }

namespace {
Server defaultServer;
Server* installed = nullptr;
}  // namespace

Server& server() { return installed ? *installed : defaultServer; }
void setServer(Server* s) { installed = s; }

ScopedServer::ScopedServer(Server* s) : previous_(installed) { installed = s; }
ScopedServer::~ScopedServer() { installed = previous_; }

}  // namespace oks
