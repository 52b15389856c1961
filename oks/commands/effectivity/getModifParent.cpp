#include <oks/commands/effectivity/modification.h>
#include <oks/framework/command.h>

OKS_COMMAND(getModifParent, "OKS_getModifParent", OKS_SILENT_DESTRUCTOR) {
  oks::ModificationLookup lookup = oks::lookUpModification(*this, trace, oks::LookupTrace::Quiet);
  if (!lookup.found()) return lookup.status;

  ZORICfgModification_var parent;
  const HRESULT status = lookup.modification->GetParent(parent);
  oks::traceLine(trace, "JNQ 012006: hRC from GetParent = [", static_cast<long>(status), "]");

  SetResult("Result0", oks::yesNoAnswer(trace, status,
                                        {"Result from getModifParent::AppExecute = OK.",
                                         "Result from getModifParent::AppExecute = S_FALSE",
                                         "ERROR: Result from getModifParent::AppExecute = E_FAIL/KO"}));

  int parentIsEco = 0;
  if (status == S_OK && !parent.IsNull() && ZORCfgServices::IsECOMod(parent) == 0) {
    oks::traceLine(trace, "Result from IsECOMod = OK.");
    parentIsEco = 1;
  }
  SetResult("Result1", parentIsEco);
  return status;
}
