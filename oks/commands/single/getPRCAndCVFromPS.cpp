#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The product-configuration root and configured views of a product specification, as "result0".
OKS_COMMAND(getPRCAndCVFromPS, "OKS_getPRCAndCVFromPS", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, trace, service, &MIROAppBaseCommand::GetNodeParameter, &oks::ConfigService::getPRCAndCVFromPS,
      &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getPRCAndCVFromPS", .failureLine = "BO-->getPRCAndCVFromPS Function Failed"});
}
