#include <memory>
#include <new>

#include <oks/framework/command.h>
#include <oks/framework/record_command.h>

// Creates product types from extended nodes; the created ones come back as "result0". The
// service object lives on the heap: without it nothing is read.
OKS_COMMAND(addProductType1, "OKS_addProductType1", OKS_NO_DESTRUCTOR) {
  std::unique_ptr<oks::ConfigService> service(new (std::nothrow) oks::ConfigService);
  if (!service) {
    oks::traceLine(trace, "Unable to create QEM_ConfigImplementation_1::ConfigImplementation");
    return E_FAIL;
  }
  return oks::runRecordCommand(
      *this, trace, *service, &MIROAppBaseCommand::GetXNodeSeqParameter, &oks::ConfigService::addProductType1,
      &MIROAppBaseCommand::SetXNodeSeqResult,
      {.name = "addProductType1", .failureLine = "BO-->addProductType1 Function Failed"});
}
