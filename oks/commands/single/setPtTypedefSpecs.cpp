#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Sets the typedef specifications of product types; the service's answer comes back as "result0".
OKS_COMMAND(setPtTypedefSpecs, "OKS_setPtTypedefSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::setPtTypedefSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "setPtTypedefSpecs", .failureLine = "BO-->setPtTypedefSpecs Function Failed"});
}
