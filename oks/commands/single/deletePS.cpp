#include <oks/framework/record_command.h>

// Deletes a product specification. Answers the service's status.
OKS_STATUS_ACTION(deletePS, "OKS_deletePS", OKS_NO_DESTRUCTOR, GetNodeParameter, deletePS);
