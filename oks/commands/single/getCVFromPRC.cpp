#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The configured views of product-configuration roots, as "result0".
OKS_COMMAND(getCVFromPRC, "OKS_getCVFromPRC", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(*this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
                               &oks::ConfigService::getCVFromPRC, &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "getCVFromPRC", .failureLine = "BO-->getCVFromPRC Function Failed"});
}
