// The shape shared by the carry-over and the supported specification creations: a heap service
// object, the environment bracket on the template root desktop, the source nodes of "Param0",
// one service operation and the new specification in "result0".
#pragma once

#include <memory>
#include <new>

#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

namespace oks {

// Creates a specification from the source nodes. readOptions reads the command's further
// parameters once "Param0" is read; create calls the service operation. The outcome is traced
// by the command's standard success and failure lines. Returns 0 on success
// (whatever non-negative status the service gave), the "Param0" getter's status, or E_FAIL.
// On every normal exit with a desktop and a domain other than "-" the environment is closed;
// the domain is still empty on the early exits, so those close it too.
template <class ReadOptions, class Create>
HRESULT createSpecFromSources(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                              ReadOptions readOptions, Create create) {
  std::unique_ptr<QEM_ConfigImplementation_1::ConfigImplementation> service(
      new (std::nothrow) QEM_ConfigImplementation_1::ConfigImplementation);
  EnvironmentBracket environment;

  auto run = [&]() -> HRESULT {
    if (!service) {
      traceLine(trace, "Unable to create QEM_ConfigImplementation_1::ConfigImplementation");
      return E_FAIL;
    }
    if (!environment.hasDesktop()) {
      traceLine(trace, "Unable to get handle to template root desktop.");
      return E_FAIL;
    }
    QEM_ProductTypes::XNodeSeq* sources = nullptr;
    HRESULT status = command.GetXNodeSeqParameter("Param0", sources);
    if (FAILED(status)) return unableToRetrieve(trace, "Param0", status);
    readOptions();

    environment.selectDataDomain(trace, " environment for PS add.");
    OutRecord<QEM_ProductTypes::XNode> created;
    status = create(*service, *sources, created.out());
    if (!created || FAILED(status)) {
      traceFunctionFailed(trace, name);
      return E_FAIL;
    }
    traceSucceeded(trace, name);
    command.SetXNodeResult("result0", created.release());
    return S_OK;
  };

  const HRESULT code = run();
  service.reset();
  if (environment.domainSelected()) environment.close();
  return code;
}

}  // namespace oks
