#include "framework/command.h"

OKS_COMMAND_UNIT(setFilter150Mode, "OKS_setFilter150Mode", OKS_NO_DESTRUCTOR);

HRESULT setFilter150Mode::AppExecute() {
  ZORQemTraceStep step(oksUnitTrace(), "setFilter150Mode::AppExecute");
  return E_NOTIMPL;
}
