#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(addProdSpec, "OKS_addProdSpec1", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;
  oks::EnvironmentBracket environment;
  if (!environment.desktopFound(trace)) return E_FAIL;

  QEM_ProductTypes::XNode* first = nullptr;
  HRESULT status = GetXNodeParameter("Param0", first);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  QEM_ProductTypes::XNode* second = nullptr;
  status = GetXNodeParameter("Param1", second);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param1", status);
  QEM_ProductTypes::NodeSeq* specs = nullptr;
  status = GetNodeSeqParameter("Param3", specs);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param3", status);

  // The effectivity values are optional: a failing getter or accessor is not traced.
  auto values = oks::readStreamable<QEMConfig::NormalValueSeq>(*this, "Param4");

  auto param5 = oks::readStreamable<ZORUnicodeString>(*this, "Param5");
  if (param5.handle) {
    ZORUnicodeString typeName;
    param5.handle->GetTypeName(typeName);
    oks::traceLine(trace, "myType is : ", typeName);
  }
  if (param5.failed()) return oks::unableToRetrieve(trace, "Param5", param5.status);

  auto version = oks::readStreamable<ZORUnicodeString>(*this, "Param2");
  if (version.object) oks::traceLine(trace, "The PSVersion is : ", *version.object);
  if (version.failed()) return oks::unableToRetrieve(trace, "Param2", version.status);

  // The environment selected here is closed on the way out.
  environment.selectDataDomain(trace, " environment for PS add.");
  const ZORUnicodeString emptyText;
  const QEMConfig::NormalValueSeq emptyValues;
  oks::OutRecord<QEM_ProductTypes::XNode> created;
  status = service.addProdSpec(*first, *second, oks::objectOr(version, emptyText), *specs,
                               oks::objectOr(values, emptyValues), oks::objectOr(param5, emptyText),
                               created.out(), 0);
  if (!created) {
    oks::traceFunctionFailed(trace, oksUnitName);
    return E_FAIL;
  }
  SetXNodeResult("result0", created.release());
  oks::traceSucceeded(trace, oksUnitName);
  return status;
}
