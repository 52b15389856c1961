#include <oks/commands/handler/params.h>
#include <oks/framework/command.h>

OKS_COMMAND(deleteCH, "OKS_deleteCH", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;

  const oks::NamedHandler handler = oks::readNamedHandler(*this, trace);
  if (handler.failed()) return handler.status();

  return oks::reportOutcome(
      trace, oksUnitName,
      service.deleteCH(*handler.context.first, *handler.context.second, *handler.name.object));
}
