#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Sets the authorised specifications of product types; the service's answer comes back as "result0".
OKS_COMMAND(setPtAuthorizedSpecs, "OKS_setPtAuthorizedSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::setPtAuthorizedSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "setPtAuthorizedSpecs", .failureLine = "BO-->setPtAuthorizedSpecs Function Failed"});
}
