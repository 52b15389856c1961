#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(rbcValidate, "OKS_rbcValidate", OKS_NO_DESTRUCTOR) {
  oks::ConfigService service;

  QEM_ProductTypes::Node* object = nullptr;
  HRESULT status = GetNodeParameter("Param0", object);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  QEM_ProductTypes::NodeSeq* specs = nullptr;
  status = GetNodeSeqParameter("Param1", specs);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param1", status);

  // Without effectivity values the validation runs with the empty values.
  auto values = oks::readStreamable<QEMConfig::NormalValueSeq>(*this, "Param2");
  if (!values.object) oks::traceLine(trace, "Unable to retrieve Param2");
  const ZORUnicodeString domain = oks::textOr(oks::readDomain(*this, trace, "Param3"));

  const QEMConfig::NormalValueSeq emptyValues;
  // The outcome node stays the command's: the results get copies.
  oks::OutRecord<QEM_ProductTypes::Node> outcome;
  status = service.rbcValidate(*object, oks::objectOr(values, emptyValues), domain, *specs, outcome.out());
  if (SUCCEEDED(status)) {
    oks::traceSucceeded(trace, oksUnitName);
    SetNodeSeqResult("result0", new QEM_ProductTypes::NodeSeq(*specs));
    if (outcome) SetNodeResult("result1", new QEM_ProductTypes::Node(*outcome));
  } else {
    oks::traceFunctionFailed(trace, oksUnitName);
  }
  return status;
}
