#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getCVFromPRC, "OKS_getCVFromPRC", OKS_NO_DESTRUCTOR);

// The configured views of product-configuration roots, as "result0".
HRESULT getCVFromPRC::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCVFromPRC::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
                               &oks::ConfigService::getCVFromPRC, &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "getCVFromPRC", .failureLine = "BO-->getCVFromPRC Function Failed"});
}
