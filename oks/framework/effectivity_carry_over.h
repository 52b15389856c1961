// The shape of the carry-over checks (isCarryOver, carryOverPSExists): a heap service object,
// one query filling a flag, and "result0" = 1 exactly when the flag is 1.
#pragma once

#include <memory>
#include <new>

#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

namespace oks {

// What tells the two checks apart: the record of "Param0", its getter, the query, and the texts.
template <class Record>
struct CarryOverCheck {
  HRESULT (MIROAppBaseCommand::*getter)(const ZORUnicodeString&, Record*&);
  HRESULT (QEM_ConfigImplementation_1::ConfigImplementation::*query)(const Record&, unsigned char&);
  const char* name;         // the command, as its success and failure lines name it
  const char* flagMessage;  // the text before the flag's value
};

// A failed query sets "result0" to 0 and returns its status; a successful one returns 0,
// whatever its status.
template <class Record>
HRESULT runCarryOverCheck(MIROAppBaseCommand& command, ZORQemTrace& trace,
                          const CarryOverCheck<Record>& check) {
  std::unique_ptr<QEM_ConfigImplementation_1::ConfigImplementation> service(
      new (std::nothrow) QEM_ConfigImplementation_1::ConfigImplementation);
  if (!service) {
    traceLine(trace, "Unable to create QEM_ConfigImplementation_1::ConfigImplementation");
    return E_FAIL;
  }
  Record* record = nullptr;
  HRESULT status = (command.*check.getter)("Param0", record);
  if (FAILED(status)) return unableToRetrieve(trace, "Param0", status);

  unsigned char flag = 0;
  status = ((*service).*check.query)(*record, flag);
  if (FAILED(status)) {
    traceFunctionFailed(trace, check.name);
    command.SetResult("result0", 0);
    return status;
  }
  traceSucceeded(trace, check.name);
  traceLine(trace, check.flagMessage, static_cast<int>(flag));
  command.SetResult("result0", flag == 1 ? 1 : 0);
  return S_OK;
}

}  // namespace oks
