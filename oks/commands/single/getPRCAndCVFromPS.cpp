#include <oks/framework/record_command.h>

// The product-configuration root and configured views of a product specification, as "result0".
OKS_RECORD_COMMAND(getPRCAndCVFromPS, "OKS_getPRCAndCVFromPS", OKS_NO_DESTRUCTOR, GetNodeParameter,
                   getPRCAndCVFromPS, SetNodeSeqResult);
