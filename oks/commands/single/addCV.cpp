#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// Adds a configured view: "Param0" is the owner, "Param1" the view, which the service may
// change. Answers the service's status.
OKS_COMMAND(addCV, "OKS_addCV", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  const auto params = oks::readParam0And1(*this, trace, &MIROAppBaseCommand::GetXNodeParameter);
  if (FAILED(params.status)) return params.status;
  return oks::reportOutcome(trace, oksUnitName, service.addCV(*params.first, *params.second));
}
