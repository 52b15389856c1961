#include <oks/framework/record_command.h>

// The product-configuration root of a configured view, as "result0", only when the service
// also reports success; otherwise the generic failure.
OKS_RECORD_COMMAND(getPRCFromCV, "OKS_getPRCFromCV", OKS_NO_DESTRUCTOR, GetNodeParameter, getPRCFromCV,
                   SetNodeResult, .success = oks::SuccessWhen::OutputSetAndStatusOk,
                   .returns = oks::RecordReturns::FailWhenNotSet);
