#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// The configuration handlers of extended nodes, as "result0". Nothing is traced when the
// service answers no list.
OKS_COMMAND(getCHList, "OKS_getCHList", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  return oks::runRecordCommand(*this, trace, service, &MIROAppBaseCommand::GetXNodeSeqParameter,
                               &oks::ConfigService::getCHList, &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "getCHList"});
}
