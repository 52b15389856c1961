#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(setFilter, "OKS_setFilter", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::Node* node = nullptr;
  const HRESULT status = GetNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  const auto filter = oks::readStreamable<QEMConfig::MultiCOFilter>(*this, "Param1");

  // The modes travel as texts. A mode read as 0, or whose reading failed with exactly E_FAIL,
  // falls back to its default.
  int filterMode = 2;
  const auto filterModeText = oks::readStreamable<ZORUnicodeString>(*this, MIROAppBaseCommand::osParam2);
  if (filterModeText.object) filterModeText.object->ConvertToNum(&filterMode, "%d");
  oks::traceLine(trace, "Param2 retrieved, filterMode = ", filterMode);
  if (filterMode == 0) filterMode = 2;
  if (filterModeText.status == E_FAIL) filterMode = 2;

  unsigned char filter150Mode = 0;
  const auto filter150Text = oks::readStreamable<ZORUnicodeString>(*this, MIROAppBaseCommand::osParam3);
  if (oks::isTrueText(filter150Text.object)) filter150Mode = 1;
  oks::traceLine(trace, "Param3 retrieved, filter150Mode = ", static_cast<int>(filter150Mode));
  if (filter150Text.status == E_FAIL) filter150Mode = 0;

  unsigned char hideUnsolvedMode = 0;
  const auto hideUnsolvedText = oks::readStreamable<ZORUnicodeString>(*this, MIROAppBaseCommand::osParam4);
  if (oks::isTrueText(hideUnsolvedText.object)) hideUnsolvedMode = 1;
  oks::traceLine(trace, "Param4 retrieved, filterHideUnsolvedOpMode = ", static_cast<int>(hideUnsolvedMode));
  if (hideUnsolvedText.status == E_FAIL) hideUnsolvedMode = 0;

  if (!filter.object) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return E_FAIL;
  }
  const HRESULT serviceStatus =
      service.setFilter(*node, *filter.object, filterMode, filter150Mode, hideUnsolvedMode);
  oks::traceSucceeded(trace, oksUnitName);
  return serviceStatus;
}
