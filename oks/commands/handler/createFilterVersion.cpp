#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

// Versions the handler inside its own environment.
OKS_COMMAND(createFilterVersion, "OKS_createFilterVersion", OKS_TRACED_DESTRUCTOR) {
  oks::EnvironmentBracket environment;
  oks::ConfigService service;
  if (!environment.desktopFound(trace)) return E_FAIL;
  QEM_ProductTypes::XNode* handler = nullptr;
  HRESULT status = GetXNodeParameter("Param0", handler);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);

  const ZORUnicodeString domain = handler->Environment;
  oks::traceLine(trace, "Using ", domain, " domain.");
  status = environment.push(domain);
  // A domain is closed on the way out, after a refused selection too; an empty one never.
  environment.closeOnExit(domain.Length() > 0);
  if (FAILED(status)) {
    oks::traceLine(trace, "Unable to push domain of CH.");
    return status;
  }

  oks::OutRecord<QEM_ProductTypes::XNode> version;
  status = service.createFilterVersion(*handler, version.out());
  if (FAILED(status) || !version) {
    oks::traceLine(trace, " createFilterVersion failed to execut.");
    return E_FAIL;
  }
  oks::traceSucceeded(trace, oksUnitName);
  SetXNodeResult("result0", version.release());
  return S_OK;
}
