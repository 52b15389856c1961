#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// Deletes the modification whose business-object key is "MIROLA_EFF_MOD". Answers the
// service's status.
OKS_COMMAND(deleteModification, "OKS_deleteModification", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  QEM_NlsProductTypes::BObjectKey* modification = nullptr;
  const HRESULT status = oks::readRecord(*this, trace, &MIROAppBaseCommand::GetBObjectKeyParameter,
                                         "MIROLA_EFF_MOD", modification, "BObjectKey");
  if (FAILED(status)) return status;
  // The key's UUID travels as a copy, gone right after the call.
  return oks::reportOutcome(trace, oksUnitName, service.deleteModification(modification->UUID),
                            "BO-->deleteModification method Failed");
}
