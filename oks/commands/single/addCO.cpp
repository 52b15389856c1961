#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Creates change objects from the extended nodes; the created ones come back as "result0".
OKS_COMMAND(addCO, "OKS_addCO", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(*this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
                               &oks::ConfigService::addCO, &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "addCO", .failureLine = "BO-->addCO Function Failed"});
}
