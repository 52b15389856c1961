// The shape shared by the carry-over and the supported specification creations: a heap service
// object, the environment bracket on the template root desktop, the source nodes of "Param0",
// one service operation and the new specification in "result0".
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

// Creates a specification from the source nodes. readOptions reads the command's further
// parameters once "Param0" is read; create calls the service operation. The outcome is traced
// by the command's standard success and failure lines. Returns 0 on success (whatever
// non-negative status the service gave), the "Param0" getter's status, or E_FAIL.
template <class ReadOptions, class Create>
HRESULT createSpecFromSources(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                              ReadOptions readOptions, Create create) {
  const auto service = makeService(trace);
  EnvironmentBracket environment;
  // Every normal exit with a desktop closes the environment unless the data domain is "-": the
  // early exits too, before any was selected.
  environment.closeOnExit(true);
  if (!service) return E_FAIL;
  if (!environment.desktopFound(trace)) return E_FAIL;
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
}

}  // namespace oks
