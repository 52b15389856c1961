#include <oks/framework/command.h>
#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

OKS_COMMAND(createFilterVersion, "OKS_createFilterVersion", OKS_TRACED_DESTRUCTOR) {
  oks::EnvironmentBracket desktop;
  ZORUnicodeString domain = "";
  QEM_ConfigImplementation_1::ConfigImplementation service;

  // Works inside the handler's own environment; any domain selected is closed again, after a
  // refused selection too.
  const HRESULT status = [&]() -> HRESULT {
    if (!desktop.hasDesktop()) {
      oks::traceLine(trace, "Unable to get handle to template root desktop.");
      return E_FAIL;
    }
    QEM_ProductTypes::XNode* handler = nullptr;
    HRESULT result = GetXNodeParameter("Param0", handler);
    if (FAILED(result)) return oks::unableToRetrieve(trace, "Param0", result);

    domain = handler->Environment;
    oks::traceLine(trace, "Using ", domain, " domain.");
    result = desktop.push(domain);
    if (FAILED(result)) {
      oks::traceLine(trace, "Unable to push domain of CH.");
      return result;
    }

    oks::OutRecord<QEM_ProductTypes::XNode> version;
    result = service.createFilterVersion(*handler, version.out());
    if (FAILED(result) || !version) {
      oks::traceLine(trace, " createFilterVersion failed to execut.");
      return E_FAIL;
    }
    oks::traceSucceeded(trace, oksUnitName);
    SetXNodeResult("result0", version.release());
    return S_OK;
  }();

  if (domain.Length() > 0) desktop.close();
  return status;
}
