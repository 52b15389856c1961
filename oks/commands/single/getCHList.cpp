#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getCHList, "OKS_getCHList", OKS_NO_DESTRUCTOR);

// The configuration handlers of extended nodes, as "result0". Nothing is traced when the
// service answers no list.
HRESULT getCHList::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCHList::AppExecute");
  oks::ConfigService service;
  return oks::runRecordCommand(*this, oksUnitTrace(), service, &MIROAppBaseCommand::GetXNodeSeqParameter,
                               &oks::ConfigService::getCHList, &MIROAppBaseCommand::SetXNodeSeqResult,
                               {.name = "getCHList"});
}
