#include <oks/framework/record_command.h>

// The configured views of product-configuration roots, as "result0".
OKS_RECORD_COMMAND(getCVFromPRC, "OKS_getCVFromPRC", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter, getCVFromPRC,
                   SetXNodeSeqResult);
