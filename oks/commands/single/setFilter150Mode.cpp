#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Switches the filter-150 mode on. The success line is traced whatever the service answers; its status is
// returned.
OKS_COMMAND(setFilter150Mode, "OKS_setFilter150Mode", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  const HRESULT status = service.setFilter150Mode();
  oks::traceSucceeded(trace, "setFilter150Mode");
  return status;
}
