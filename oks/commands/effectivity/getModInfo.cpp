#include <oks/commands/effectivity/modification.h>
#include <oks/framework/command.h>

namespace {

// The owner results, in setting order, with the owner list entry each one takes.
struct OwnerResult {
  int entry;
  const char* key;
  const char* announcement;
  const char* failure;
};
constexpr OwnerResult ownerResults[] = {
    {1, "userID", "Setting parameter : userID ", " SetResult(''userID'', strOwner[1]) FAILED... "},
    {2, "orgID", "Setting parameter : orgID ", "SetResult(''orgID'', strOwner[2]) FAILED..."},
    {3, "projID", "Setting parameter : projID ", "SetResult(''projID'', strOwner[3]) FAILED..."},
};

}  // namespace

OKS_COMMAND(getModInfo, "OKS_getCrapola", OKS_SILENT_DESTRUCTOR) {
  oks::ModificationLookup lookup = oks::lookUpModification(*this, trace, oks::LookupTrace::Steps);
  if (!lookup.found()) return lookup.status;

  oks::traceLine(trace, "About to call QEM_ConfigServicesEXT::RetrieveModOwner() ");
  ZORListValZORUnicodeString owner;
  HRESULT status = QEM_ConfigServicesEXT::RetrieveModOwner(lookup.modification, owner);
  oks::traceLine(trace, "QEM_ConfigServicesEXT::RetrieveModOwner() called...");
  if (FAILED(status)) {
    oks::traceLine(trace, "Couldn't find Owner Info of Mod ");
  } else {
    for (const OwnerResult& result : ownerResults) {
      oks::traceLine(trace, result.announcement);
      // A list shorter than three entries leaves the missing ones empty.
      const ZORUnicodeString value = result.entry <= owner.Size() ? owner[result.entry] : ZORUnicodeString();
      if (FAILED(SetResult(result.key, value))) oks::traceLine(trace, result.failure);
    }
  }

  ZORIQemAFLAction_var action;
  status = QEM_ConfigServicesEXT::RetrieveActionFromModif(lookup.modification, action);
  if (FAILED(status) || action.IsNull()) {
    oks::traceLine(trace, "ERROR: Result from RetrieveActionFromModif = E_FAIL/KO");
    SetResult("ActionComplete", 0);
    return S_OK;
  }

  const HRESULT closed = action->IsClose();
  SetResult("ActionComplete",
            oks::yesNoAnswer(trace, closed,
                             {"Result from IsClose = S_OK.", "Result from IsClose = S_FALSE.",
                              "Result from IsClose = E_FAIL."}));
  return closed;
}
