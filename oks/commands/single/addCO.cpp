#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(addCO, "OKS_addCO", OKS_NO_DESTRUCTOR);

// Creates change objects from the extended nodes; the created ones come back as "result0".
HRESULT addCO::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "addCO::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
                               &oks::ConfigService::addCO, &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "addCO", .failureLine = "BO-->addCO Function Failed"});
}
