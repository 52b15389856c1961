#include <oks/commands/handler/xnode.h>
#include <oks/framework/command.h>

namespace {

// The latest version of the handler named by "Param1" under the product-configuration root
// "Param0", as an extended node; an empty node when no handler has that name; null on any
// failure, traced.
QEM_ProductTypes::XNode* latestVersion(MIROAppBaseCommand& command, ZORQemTrace& trace) {
  QEM_ProductTypes::XNode* prc = nullptr;
  if (FAILED(command.GetXNodeParameter("Param0", prc)) || !prc) {
    oks::traceLine(trace, "ERROR: Unable to retrieve Param0");
    return nullptr;
  }
  ZORUnicodeString name;
  if (FAILED(command.GetParameter("Param1", name)) || name.Length() == 0) {
    oks::traceLine(trace, "ERROR: Unable to retrieve Param1");
    return nullptr;
  }
  ZORIQemFactoryObject_var factory;
  if (const _SEQUENCE_octet* uuid = oks::lastNodeUuid(*prc))
    factory = ZORIQemFactoryObject_var(ApplicationObject::GetFactoryObjectByUUID(*uuid));
  if (!factory) {
    oks::traceLine(trace, "ERROR: Could not get factory object interface on prc.");
    return nullptr;
  }
  ZORIConfigurableObject_var configurable;
  if (FAILED(GenVarUtil::getCV(factory, configurable)) || !configurable) {
    oks::traceLine(trace, " ERROR: Could not get configurable object interface on prc.");
    return nullptr;
  }

  ZORUnicodeString id;
  ZORUnicodeString version;
  const HRESULT found = QEM_ConfigServicesCH::getCHNameVersion(configurable, name, id, version);
  if (FAILED(found)) {
    oks::traceLine(trace, "ERROR: Could not get CH id and version for name ", name, ".");
    return nullptr;
  }
  if (found == 1) {
    oks::traceLine(trace, "Config handler doesn't exist. Returning an empty result.");
    return new QEM_ProductTypes::XNode();
  }
  const ZORIConfigHandler_var handler = QEM_ConfigServicesCH::GetConfigHandler(configurable, id, version);
  if (!handler) {
    oks::traceLine(trace, "ERROR: Could not get version ", version, " of config handler.");
    return nullptr;
  }
  if (FAILED(QEMManagerQuery::SetCurrentMask(ZORUnicodeString(QEM_TypeNames::BrowseMask)))) {
    oks::traceLine(trace, "ERROR: Could not set current mask to browse.");
    return nullptr;
  }
  const ZORIQemFactoryObject_var handlerObject(handler.object());
  oks::OutRecord<QEM_ProductTypes::XNode> node;
  if (!oks::rebuildFromAppObject(trace, ApplicationObject::GetAppObjectByObject(handlerObject, "--"), node))
    return nullptr;
  if (!node) oks::traceLine(trace, "ERROR: Could not get ch xnode.");
  return node.release();
}

}  // namespace

// The handler's latest version goes to "Result" whatever became of the lookup.
OKS_COMMAND(getCHByName, "OKS_getCHByName", OKS_TRACED_DESTRUCTOR) {
  const HRESULT status = SetXNodeResult("Result", latestVersion(*this, trace));
  if (FAILED(status))
    oks::traceLine(trace, "ERROR: Could not set xnode result for latest version of config handler.");
  oks::traceReturns(trace, status);
  return status;
}
