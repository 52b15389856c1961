#include <oks/framework/record_command.h>

// Deletes a product type. Answers the service's status.
OKS_STATUS_ACTION(deleteProductType, "OKS_deleteProductType", OKS_NO_DESTRUCTOR, GetNodeParameter,
                  deleteProductType);
