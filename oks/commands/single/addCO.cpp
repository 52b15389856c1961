#include <oks/framework/record_command.h>

// Creates change objects from the extended nodes; the created ones come back as "result0".
OKS_RECORD_COMMAND(addCO, "OKS_addCO", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter, addCO, SetXNodeSeqResult);
