// The modification a command is asked about by its UUID ("Param0"), as getModInfo and
// getModifParent find it: the UUID read as an octet sequence, the object the session knows by
// that UUID, and that object seen as a modification.
#pragma once

#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

namespace oks {

struct ModificationLookup {
  HRESULT status = S_OK;  // the getter's status, E_FAIL when no modification, else S_OK
  ZORICfgModification_var modification;

  bool found() const { return !modification.IsNull(); }
};

// Whether the lookup traces its two intermediate steps (the factory call and the cast).
enum class LookupTrace { Quiet, Steps };

// Finds the modification named by "Param0". An unreadable "Param0" traces
// "Unable to retrieve Param0" and gives the getter's status; an object that is missing or not
// a modification traces the interface error and gives E_FAIL.
inline ModificationLookup lookUpModification(MIROBaseCommandNoSO& command, ZORQemTrace& trace,
                                             LookupTrace steps) {
  ModificationLookup lookup;
  traceLine(trace, "JNQ 012006: Retrieve the Modification UUID");
  _SEQUENCE_octet* uuid = nullptr;
  HRESULT status = command.GetParameter("Param0", uuid);
  if (FAILED(status)) {
    lookup.status = unableToRetrieve(trace, "Param0", status);
    return lookup;
  }

  ZORBaseUnknown_var object = ApplicationObject::GetFactoryObjectByUUID(*uuid);
  if (steps == LookupTrace::Steps) traceLine(trace, "ApplicationObject::GetFactoryObjectByUUID() called...");
  lookup.modification = ZORICfgModification_var(object);
  if (steps == LookupTrace::Steps) traceLine(trace, "Got ZORICfgModification...");
  if (!lookup.found()) {
    traceLine(trace, "ERROR: Failed to retrieve the ZORICfgModification interface.");
    lookup.status = E_FAIL;
  }
  return lookup;
}

// The lines traced for the three answers of a yes/no query of the model.
struct YesNoLines {
  const char* yes;     // S_OK
  const char* no;      // S_FALSE
  const char* failed;  // any other status
};

// The integer answer of a yes/no query of the model (the action's IsClose, the modification's
// GetParent): 1 for S_OK, 0 for S_FALSE, -1 for any other status; traces that answer's line.
inline int yesNoAnswer(ZORQemTrace& trace, HRESULT status, const YesNoLines& lines) {
  if (status == S_OK) {
    traceLine(trace, lines.yes);
    return 1;
  }
  if (status == S_FALSE) {
    traceLine(trace, lines.no);
    return 0;
  }
  traceLine(trace, lines.failed);
  return -1;
}

}  // namespace oks
