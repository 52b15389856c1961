#include <oks/framework/command.h>
#include <oks/framework/handler_xnode.h>
#include <oks/service/config_service.h>

OKS_COMMAND(getCHByName, "OKS_getCHByName", OKS_TRACED_DESTRUCTOR) {
  ZORIQemFactoryObject_var factory;
  ZORIConfigurableObject_var configurable;
  ZORIConfigHandler_var handler;

  // The latest version of the named handler as an extended node; an empty node when no handler
  // has that name; null on any failure.
  oks::OutRecord<QEM_ProductTypes::XNode> result;
  [&] {
    QEM_ProductTypes::XNode* prc = nullptr;
    if (FAILED(GetXNodeParameter("Param0", prc)) || !prc) {
      oks::traceLine(trace, "ERROR: Unable to retrieve Param0");
      return;
    }
    ZORUnicodeString name;
    if (FAILED(GetParameter("Param1", name)) || name.Length() == 0) {
      oks::traceLine(trace, "ERROR: Unable to retrieve Param1");
      return;
    }
    if (const _SEQUENCE_octet* uuid = oks::lastNodeUuid(*prc))
      factory = ZORIQemFactoryObject_var(ApplicationObject::GetFactoryObjectByUUID(*uuid));
    if (!factory) {
      oks::traceLine(trace, "ERROR: Could not get factory object interface on prc.");
      return;
    }
    if (FAILED(GenVarUtil::getCV(factory, configurable)) || !configurable) {
      oks::traceLine(trace, " ERROR: Could not get configurable object interface on prc.");
      return;
    }
    ZORUnicodeString id;
    ZORUnicodeString version;
    const HRESULT found = QEM_ConfigServicesCH::getCHNameVersion(configurable, name, id, version);
    if (FAILED(found)) {
      oks::traceLine(trace, "ERROR: Could not get CH id and version for name ", name, ".");
      return;
    }
    if (found == 1) {
      oks::traceLine(trace, "Config handler doesn't exist. Returning an empty result.");
      result.out() = new QEM_ProductTypes::XNode();
      return;
    }
    handler = QEM_ConfigServicesCH::GetConfigHandler(configurable, id, version);
    if (!handler) {
      oks::traceLine(trace, "ERROR: Could not get version ", version, " of config handler.");
      return;
    }
    if (FAILED(QEMManagerQuery::SetCurrentMask(ZORUnicodeString(QEM_TypeNames::BrowseMask)))) {
      oks::traceLine(trace, "ERROR: Could not set current mask to browse.");
      return;
    }
    const ZORIQemFactoryObject_var handlerObject(handler.object());
    if (!oks::rebuildFromAppObject(trace, ApplicationObject::GetAppObjectByObject(handlerObject, "--"),
                                   result))
      return;
    if (!result) oks::traceLine(trace, "ERROR: Could not get ch xnode.");
  }();

  const HRESULT status = SetXNodeResult("Result", result.release());
  if (FAILED(status))
    oks::traceLine(trace, "ERROR: Could not set xnode result for latest version of config handler.");
  oks::traceReturns(trace, status);
  return status;
}
