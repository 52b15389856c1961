#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(isPUE, "OKS_isPUE", OKS_TRACED_DESTRUCTOR) {
  oks::ConfigService service;
  QEM_ProductTypes::XNode* node = nullptr;
  HRESULT status = GetXNodeParameter("Param0", node);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param0", status);
  ZORUnicodeString text;
  status = GetParameter("Param1", text);
  if (FAILED(status)) return oks::unableToRetrieve(trace, "Param1", status);

  // The check held unless it answered S_FALSE or gave no strings; the verdict only shows in
  // the trace, the strings are returned either way.
  ZORListValZORUnicodeString answer;
  status = service.isPUE(*node, text, answer);
  oks::traceLine(trace, status != S_FALSE && answer.Size() > 0 ? " isPUE succeeded." : " isPUE failed.");
  return SetResult("result0", answer);
}
