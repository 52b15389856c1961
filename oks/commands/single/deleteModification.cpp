#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(deleteModification, "OKS_deleteModification", OKS_NO_DESTRUCTOR);

// Deletes the modification whose business-object key is "MIROLA_EFF_MOD". Answers the
// service's status.
HRESULT deleteModification::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "deleteModification::AppExecute");
  oks::ConfigService service;
  QEM_NlsProductTypes::BObjectKey* modification = nullptr;
  const HRESULT status = oks::readRecord(*this, oksUnitTrace(), &MIROAppBaseCommand::GetBObjectKeyParameter,
                                         "MIROLA_EFF_MOD", modification, "BObjectKey");
  if (FAILED(status)) return status;
  // The key's UUID travels as a copy, gone right after the call.
  return oks::reportAction(oksUnitTrace(), service.deleteModification(modification->UUID),
                           "BO-->deleteModification method Failed", "deleteModification");
}
