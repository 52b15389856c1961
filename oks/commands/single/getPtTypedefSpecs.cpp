#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The typedef specifications of product types, as "result0".
OKS_COMMAND(getPtTypedefSpecs, "OKS_getPtTypedefSpecs", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
      &oks::ConfigService::getPtTypedefSpecs, &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "getPtTypedefSpecs", .failureLine = "BO-->getPtTypedefSpecs Function Failed"});
}
