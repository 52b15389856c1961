#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(extendEffectivity, "OKS_extendEffectivity", OKS_SILENT_DESTRUCTOR) {
  QEM_ProductTypes::XNodeSeq* nodes = nullptr;
  HRESULT status = GetXNodeSeqParameter("Param0", nodes);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  int uuidSwitch = 0;
  status = GetParameter("Param2", uuidSwitch);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param2", status);
  // The UUID is read and passed only when the switch is exactly 1.
  _SEQUENCE_octet* uuid = nullptr;
  if (uuidSwitch == 1) {
    status = GetParameter("Param1", uuid);
    if (FAILED(status)) return oks::unableToRetrieve(trace, "Param1", status);
  }

  status = QEM_ConfigServicesEXT::ExtendEffectivity(*nodes, uuid);
  if (FAILED(status)) {
    oks::traceLine(trace, "ERROR: Result from extendEffectivity::AppExecute = KO");
    SetResult("Result0", 0);
  } else {
    oks::traceLine(trace, "Result from extendEffectivity::AppExecute = OK.");
    SetResult("Result0", 1);
  }
  return status;
}
