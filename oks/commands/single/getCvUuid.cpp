#include <oks/framework/command.h>

// A stub: reads nothing, sets nothing and answers the generic failure.
OKS_COMMAND(getCvUuid, "OKS_getCvUuid", OKS_TRACED_DESTRUCTOR) { return E_FAIL; }
