#include <oks/framework/command.h>
#include <oks/framework/handler_params.h>
#include <oks/framework/handler_xnode.h>
#include <oks/service/config_service.h>

OKS_COMMAND(addCH, "OKS_addCH", OKS_TRACED_DESTRUCTOR) {
  ZORIQemFactoryObject_var factory;
  oks::EnvironmentBracket desktop;
  QEM_ConfigImplementation_1::ConfigImplementation service;
  if (!desktop.hasDesktop()) {
    oks::traceLine(trace, "Unable to get handle to template root desktop.");
    oks::traceReturns(trace, E_FAIL);
    return E_FAIL;
  }

  const auto context = oks::readParam0And1(*this, trace, &MIROAppBaseCommand::GetNodeParameter);
  if (FAILED(context.status)) return context.status;

  // Without a filter the handler is created with an empty one.
  const auto filterParam = oks::readStreamable<QEMConfig::MultiCOFilter>(*this, "Param2");
  const QEMConfig::MultiCOFilter noFilter;
  const QEMConfig::MultiCOFilter& filter = filterParam.object ? *filterParam.object : noFilter;

  ZORUnicodeString id;
  HRESULT status = GetParameter("Param3", id);
  if (FAILED(status)) {
    oks::traceLine(trace, "ERROR: Unable to retrieve Param3");
    return status;
  }
  const auto description =
      oks::readValueOr<ZORUnicodeString>(*this, trace, "Param4", "", "Unable to retrieve Param4");
  const auto mode =
      oks::readValueOr<ZORUnicodeString>(*this, trace, "Param5", "ADD", "Unable to retrieve Param5");
  const int filterMode = oks::readValueOr(*this, trace, "Param6", 2,
                                          "Filter mode not explicitly set, setting it to its default");
  const unsigned char filter150Mode = oks::readValueOr<unsigned char>(
      *this, trace, "Param7", 0, "Filter 150 mode not explicitly set, setting it to its default");
  // An unreadable list gives an empty one of the command's own; a handle carrying none, no list.
  const oks::AttributeFilterParam attributeFilters(
      *this, trace, "Param8",
      "Unable to retrieve Param8 the QEMIListOfAttributeFilterObjects; using an empty list");
  const auto criterionType = oks::readValueOr<ZORUnicodeString>(
      *this, trace, "Param9", "",
      "Unable to retrieve Param9 the filterCritType string; using an empty string");
  const unsigned char hideUnsolvedMode = oks::readValueOr<unsigned char>(
      *this, trace, "Param10", 0, "Filter HideUnsolvedOp mode not explicitly set, setting it to its default");
  unsigned char caseSensitive = 1;
  const HRESULT caseStatus = GetParameter("Param11", caseSensitive);
  oks::traceLine(trace, " SIDL CaseSen ", static_cast<int>(caseSensitive));
  if (FAILED(caseStatus)) {
    oks::traceLine(trace, "CaseSensitive flag is not explicitly set, setting it to its default TRUE");
    caseSensitive = 1;
  }
  QEM_ProductTypes::XNode* attributes = nullptr;
  if (FAILED(GetXNodeParameter("Param12", attributes)) || !attributes) {
    attributes = nullptr;
    oks::traceLine(trace, "No xnode was passed in. Will only use id and description attributes.");
  }

  if (attributes) {
    oks::traceLine(trace, "Using ", attributes->Environment.c_str(), " environment for CH add/edit.");
    desktop.push(attributes->Environment);
  } else {
    desktop.push("CONFIG");
  }

  // Creation, then, with an attribute node, its values written and the node rebuilt.
  status = [&]() -> HRESULT {
    oks::OutRecord<QEM_ProductTypes::XNode> created;
    const HRESULT serviceStatus = service.addCH(
        *context.first, *context.second, filter, id, description, mode, filterMode, filter150Mode,
        hideUnsolvedMode, criterionType, caseSensitive, attributeFilters.list(), created.out());
    if (!created) {
      oks::traceLine(trace, "ERROR: Could not get CH xnode.");
      return E_FAIL;
    }
    const _SEQUENCE_octet* lastUuid = oks::lastNodeUuid(*created);
    const _SEQUENCE_octet uuid = lastUuid ? *lastUuid : _SEQUENCE_octet();
    const bool hasUuid = lastUuid != nullptr;
    // "result0" holds the handler from here on. A record the host refused is freed by it and
    // never given again.
    QEM_ProductTypes::XNode* handler = created.release();
    const bool handed = SUCCEEDED(SetXNodeResult("result0", handler));
    if (!attributes) {
      if (handed) SetXNodeResult("result0", handler);
      oks::traceSucceeded(trace, oksUnitName);
      return serviceStatus;
    }

    if (hasUuid) factory = ZORIQemFactoryObject_var(ApplicationObject::GetFactoryObjectByUUID(uuid));
    if (!factory) {
      oks::traceLine(trace, "ERROR: Could not get factory object from uuid.");
      return E_FAIL;
    }
    HRESULT result = QEM_ConfigUtils::setValuesOnObject(
        factory, *attributes, ZORUnicodeString(QEM_TypeNames::CreateMask), CORBA::default_environment);
    if (FAILED(result)) {
      oks::traceLine(trace, "ERROR: Could not set xnode values on factory object.");
      return result;
    }
    result = QEMManagerQuery::SetCurrentMask(ZORUnicodeString(QEM_TypeNames::BrowseMask));
    if (FAILED(result)) {
      oks::traceLine(trace, "ERROR: Could not set mask to browse.");
      return result;
    }
    oks::OutRecord<QEM_ProductTypes::XNode> rebuilt;
    if (!oks::rebuildFromAppObject(trace, ApplicationObject::GetAppObjectByUUID(uuid), rebuilt))
      return E_FAIL;
    if (!rebuilt) {
      oks::traceLine(trace, "ERROR: Could not get CH xnode.");
      return E_FAIL;
    }
    SetXNodeResult("result0", rebuilt.release());
    oks::traceSucceeded(trace, oksUnitName);
    return result;
  }();

  desktop.close();
  oks::traceReturns(trace, status);
  return status;
}
