#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(getCHNames, "OKS_getCHNames", OKS_NO_DESTRUCTOR);

// The names of the configuration handlers between two nodes, as "result0". The list is set
// whatever the service answers (empty when it added nothing); the service's status is returned.
HRESULT getCHNames::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "getCHNames::AppExecute");
  oks::ConfigService service;
  const auto params = oks::readParam0And1(*this, oksUnitTrace(), &MIROAppBaseCommand::GetNodeParameter);
  if (FAILED(params.status)) return params.status;

  ZORListValZORUnicodeString names;
  const HRESULT status = service.getCHNames(*params.param0, *params.param1, names);
  oks::traceSucceeded(oksUnitTrace(), "getCHNames");
  SetResult("result0", names);  // its status is not looked at
  return status;
}
