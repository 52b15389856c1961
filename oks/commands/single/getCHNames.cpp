#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// The names of the configuration handlers between two nodes, as "result0". The list is set
// whatever the service answers (empty when it added nothing); the service's status is returned.
OKS_COMMAND(getCHNames, "OKS_getCHNames", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  const auto params = oks::readParam0And1(*this, trace, &MIROAppBaseCommand::GetNodeParameter);
  if (FAILED(params.status)) return params.status;

  ZORListValZORUnicodeString names;
  const HRESULT status = service.getCHNames(*params.first, *params.second, names);
  oks::traceSucceeded(trace, oksUnitName);
  SetResult("result0", names);  // its status is not looked at
  return status;
}
