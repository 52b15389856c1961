#include "framework/command.h"

OKS_COMMAND_UNIT(unsetFilter150Mode, "OKS_unsetFilter150Mode", OKS_NO_DESTRUCTOR);

HRESULT unsetFilter150Mode::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "unsetFilter150Mode::AppExecute");
  return E_NOTIMPL;
}
