#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

OKS_COMMAND_UNIT(setFilter150Mode, "OKS_setFilter150Mode", OKS_NO_DESTRUCTOR);

// Switches the filter-150 mode on. The success line is traced whatever the service answers; its status is
// returned.
HRESULT setFilter150Mode::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setFilter150Mode::AppExecute");
  oks::ConfigService service;
  const HRESULT status = service.setFilter150Mode();
  oks::traceSucceeded(oksUnitTrace(), "setFilter150Mode");
  return status;
}
