#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(unsetFilter150Mode, "OKS_unsetFilter150Mode", OKS_NO_DESTRUCTOR);

// Switches the filter-150 mode off. The success line is traced whatever the service answers; its status is
// returned.
HRESULT unsetFilter150Mode::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "unsetFilter150Mode::AppExecute");
  oks::ConfigService service;
  const HRESULT status = service.unsetFilter150Mode();
  oks::traceSucceeded(oksUnitTrace(), "unsetFilter150Mode");
  return status;
}
