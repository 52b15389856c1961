#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The authorised specifications of product types, as "result0".
OKS_COMMAND(getPtAuthorizedSpecs, "OKS_getPtAuthorizedSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::getPtAuthorizedSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "getPtAuthorizedSpecs", .failureLine = "BO-->getPtAuthorizedSpecs Function Failed"});
}
