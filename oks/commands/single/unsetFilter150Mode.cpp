#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Switches the filter-150 mode off. The success line is traced whatever the service answers; its status is
// returned.
OKS_COMMAND(unsetFilter150Mode, "OKS_unsetFilter150Mode", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;
  const HRESULT status = service.unsetFilter150Mode();
  oks::traceSucceeded(trace, "unsetFilter150Mode");
  return status;
}
