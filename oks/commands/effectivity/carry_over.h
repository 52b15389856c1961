// The shape of the carry-over checks (isCarryOver, carryOverPSExists): a heap service object,
// one query filling a flag, and "result0" = 1 exactly when the flag is 1.
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

// Reads "Param0" with getter and asks the query; flagMessage is the text traced before the
// flag's value. A failed query sets "result0" to 0 and returns its status; a successful one
// returns 0, whatever its status.
template <class Record>
HRESULT runCarryOverCheck(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                          RecordGetter<Record> getter,
                          HRESULT (ConfigService::*query)(const Record&, unsigned char&),
                          const char* flagMessage) {
  const auto service = makeService(trace);
  if (!service) return E_FAIL;
  Record* record = nullptr;
  HRESULT status = (command.*getter)("Param0", record);
  if (FAILED(status)) return unableToRetrieve(trace, "Param0", status);

  unsigned char flag = 0;
  status = ((*service).*query)(*record, flag);
  if (FAILED(status)) {
    traceFunctionFailed(trace, name);
    command.SetResult("result0", 0);
    return status;
  }
  traceSucceeded(trace, name);
  traceLine(trace, flagMessage, static_cast<int>(flag));
  command.SetResult("result0", flag == 1 ? 1 : 0);
  return S_OK;
}

}  // namespace oks
