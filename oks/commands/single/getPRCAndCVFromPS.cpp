#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getPRCAndCVFromPS, "OKS_getPRCAndCVFromPS", OKS_NO_DESTRUCTOR);

// The product-configuration root and configured views of a product specification, as "result0".
HRESULT getPRCAndCVFromPS::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getPRCAndCVFromPS::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(
      *this, oksUnitTrace(), service, &MIROAppBaseCommand::GetNodeParameter,
      &oks::ConfigService::getPRCAndCVFromPS, &MIROAppBaseCommand::SetNodeSeqResult,
      {.name = "getPRCAndCVFromPS", .failureLine = "BO-->getPRCAndCVFromPS Function Failed"});
}
