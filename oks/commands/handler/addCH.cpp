#include <optional>

#include <oks/commands/handler/xnode.h>
#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

namespace {

// Writes the attribute node's values on the new handler's object, under the create mask, and
// hands the handler rebuilt from its application object to "result0". Answers the status of the
// browse mask; a failure is traced and answered with its status or E_FAIL.
HRESULT writeAttributeValues(MIROAppBaseCommand& command, ZORQemTrace& trace,
                             const std::optional<_SEQUENCE_octet>& uuid,
                             const QEM_ProductTypes::XNode& attributes) {
  ZORIQemFactoryObject_var factory;
  if (uuid) factory = ZORIQemFactoryObject_var(ApplicationObject::GetFactoryObjectByUUID(*uuid));
  if (!factory) {
    oks::traceLine(trace, "ERROR: Could not get factory object from uuid.");
    return E_FAIL;
  }
  HRESULT status = QEM_ConfigUtils::setValuesOnObject(
      factory, attributes, ZORUnicodeString(QEM_TypeNames::CreateMask), CORBA::default_environment);
  if (FAILED(status)) {
    oks::traceLine(trace, "ERROR: Could not set xnode values on factory object.");
    return status;
  }
  status = QEMManagerQuery::SetCurrentMask(ZORUnicodeString(QEM_TypeNames::BrowseMask));
  if (FAILED(status)) {
    oks::traceLine(trace, "ERROR: Could not set mask to browse.");
    return status;
  }
  oks::OutRecord<QEM_ProductTypes::XNode> rebuilt;
  if (!oks::rebuildFromAppObject(trace, ApplicationObject::GetAppObjectByUUID(*uuid), rebuilt)) return E_FAIL;
  if (!rebuilt) {
    oks::traceLine(trace, "ERROR: Could not get CH xnode.");
    return E_FAIL;
  }
  command.SetXNodeResult("result0", rebuilt.release());
  return status;
}

}  // namespace

// Creates a configuration handler under its two context nodes, inside the environment of the
// attribute node ("Param12") or "CONFIG", and returns it as "result0"; with an attribute node,
// its values are written on the new handler, which is returned rebuilt. The final status line
// ("returns <status>") ends a run without a desktop and every run that selected the environment;
// an unreadable "Param0", "Param1" or "Param3" ends the command without it.
OKS_COMMAND(addCH, "OKS_addCH", OKS_TRACED_DESTRUCTOR) {
  oks::EnvironmentBracket environment;
  oks::ConfigService service;
  if (!environment.desktopFound(trace)) {
    oks::traceReturns(trace, E_FAIL);
    return E_FAIL;
  }

  // Each parameter in key order, with what its absence means.
  const auto context = oks::readParam0And1(*this, trace, &MIROAppBaseCommand::GetNodeParameter);
  if (FAILED(context.status)) return context.status;
  const auto filter = oks::readStreamable<QEMConfig::MultiCOFilter>(*this, "Param2");
  const auto id = oks::readValue<ZORUnicodeString>(*this, "Param3");
  if (id.failed()) {
    oks::traceLine(trace, "ERROR: Unable to retrieve Param3");
    return id.status;
  }
  const auto description =
      oks::readValue<ZORUnicodeString>(*this, "Param4").orDefault(trace, "", "Unable to retrieve Param4");
  const auto mode =
      oks::readValue<ZORUnicodeString>(*this, "Param5").orDefault(trace, "ADD", "Unable to retrieve Param5");
  const auto filterModes = oks::readFilterModes(*this, trace, "Param6", "Param7");
  const oks::AttributeFilterParam attributeFilters(
      *this, trace, "Param8",
      "Unable to retrieve Param8 the QEMIListOfAttributeFilterObjects; using an empty list");
  const auto criterionType =
      oks::readValue<ZORUnicodeString>(*this, "Param9")
          .orDefault(trace, "", "Unable to retrieve Param9 the filterCritType string; using an empty string");
  const auto hideUnsolvedMode =
      oks::readValue<unsigned char>(*this, "Param10")
          .orDefault(trace, 0, "Filter HideUnsolvedOp mode not explicitly set, setting it to its default");
  // The flag is traced as read, before its default.
  const auto caseSensitiveParam = oks::readValue<unsigned char>(*this, "Param11", 1);
  oks::traceLine(trace, " SIDL CaseSen ", static_cast<int>(caseSensitiveParam.value));
  const auto caseSensitive = caseSensitiveParam.orDefault(
      trace, 1, "CaseSensitive flag is not explicitly set, setting it to its default TRUE");
  const QEM_ProductTypes::XNode* attributes =
      oks::readValue(*this, &MIROAppBaseCommand::GetXNodeParameter, "Param12")
          .orDefault(trace, nullptr, "No xnode was passed in. Will only use id and description attributes.");

  if (attributes) {
    oks::traceLine(trace, "Using ", attributes->Environment.c_str(), " environment for CH add/edit.");
    environment.push(attributes->Environment);
  } else {
    environment.push("CONFIG");
  }

  // Without a filter the handler is created with an empty one.
  const QEMConfig::MultiCOFilter noFilter;
  oks::OutRecord<QEM_ProductTypes::XNode> created;
  HRESULT status = service.addCH(*context.first, *context.second, oks::objectOr(filter, noFilter), id.value,
                                 description, mode, filterModes.mode, filterModes.mode150, hideUnsolvedMode,
                                 criterionType, caseSensitive, attributeFilters.list(), created.out());
  if (!created) {
    oks::traceLine(trace, "ERROR: Could not get CH xnode.");
    status = E_FAIL;
  } else {
    // "result0" holds the handler from here on, to the end of a run without an attribute node.
    // Its UUID is copied first: a handler the host refuses is freed by it.
    const _SEQUENCE_octet* lastUuid = oks::lastNodeUuid(*created);
    const auto uuid = lastUuid ? std::optional<_SEQUENCE_octet>(*lastUuid) : std::nullopt;
    SetXNodeResult("result0", created.release());
    // Without an attribute node the run succeeds whatever the service's status.
    if (attributes) status = writeAttributeValues(*this, trace, uuid, *attributes);
    if (!attributes || SUCCEEDED(status)) oks::traceSucceeded(trace, oksUnitName);
  }

  environment.close();
  oks::traceReturns(trace, status);
  return status;
}
