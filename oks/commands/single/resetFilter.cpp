#include <oks/framework/record_command.h>

// Resets the filter of a configuration handler. Answers the service's status.
OKS_STATUS_ACTION(resetFilter, "OKS_resetFilter", OKS_NO_DESTRUCTOR, GetNodeParameter, resetFilter);
