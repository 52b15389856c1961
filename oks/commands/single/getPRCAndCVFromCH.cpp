#include <oks/framework/record_command.h>

// The product-configuration root and configured views of a configuration handler, as
// "result0", only when the service also reports success.
OKS_RECORD_COMMAND(getPRCAndCVFromCH, "OKS_getPRCAndCVFromCH", OKS_NO_DESTRUCTOR, GetNodeParameter,
                   getPRCAndCVFromCH, SetNodeSeqResult, .success = oks::SuccessWhen::OutputSetAndStatusOk);
