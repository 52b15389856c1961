#include <oks/framework/record_command.h>

// Creates product types from extended nodes; the created ones come back as "result0". The
// service object lives on the heap: without it nothing is read.
OKS_RECORD_COMMAND(addProductType1, "OKS_addProductType1", OKS_NO_DESTRUCTOR, GetXNodeSeqParameter,
                   addProductType1, SetXNodeSeqResult, .serviceOnHeap = true);
