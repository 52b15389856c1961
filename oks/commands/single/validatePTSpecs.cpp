#include <oks/framework/record_command.h>

// Validates the specifications of a product type; failures are reported as a partial execution. Answers the
// service's status.
OKS_STATUS_ACTION(validatePTSpecs, "OKS_validatePTSpecs", OKS_NO_DESTRUCTOR, GetXNodeParameter,
                  validatePTSpecs, .failureLine = " validatePTSpecs executed  with some failures");
