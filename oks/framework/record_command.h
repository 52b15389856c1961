// The shapes of the single-call commands. A record command reads one record parameter, hands
// it to one service operation that answers with a record, and returns that record as its
// result. A status action reads its record parameters, calls one service operation and answers
// with the service's status, tracing whether it failed.
#pragma once

#include <type_traits>

#include <oks/framework/helpers.h>
#include <oks/service/config_service.h>

namespace oks {

using ConfigService = QEM_ConfigImplementation_1::ConfigImplementation;

// A record getter of the host, such as GetNodeParameter.
template <class T>
using RecordGetter = HRESULT (MIROAppBaseCommand::*)(const ZORUnicodeString&, T*&);
// A record setter of the host, such as SetNodeSeqResult; it takes the record.
template <class T>
using RecordSetter = HRESULT (MIROAppBaseCommand::*)(const ZORUnicodeString&, const T*);

// Reads a record parameter into record (null first). On failure traces "Unable to retrieve "
// followed by the label, the key unless another is given, and gives back the getter's status.
template <class T>
HRESULT readRecord(MIROAppBaseCommand& command, ZORQemTrace& trace, RecordGetter<T> get, const char* key,
                   T*& record, const char* label = nullptr) {
  record = nullptr;
  const HRESULT status = (command.*get)(key, record);
  if (FAILED(status)) traceLine(trace, "Unable to retrieve ", label ? label : key);
  return status;
}

// Two record parameters of one kind, "Param0" and "Param1", as read, with the status of the
// last getter called.
template <class T>
struct Param0And1 {
  HRESULT status = S_OK;
  T* param0 = nullptr;
  T* param1 = nullptr;
};

// Reads "Param0" and then "Param1" with the same getter, as readRecord; "Param1" is not read
// when "Param0" fails.
template <class T>
Param0And1<T> readParam0And1(MIROAppBaseCommand& command, ZORQemTrace& trace, RecordGetter<T> get) {
  Param0And1<T> params;
  params.status = readRecord(command, trace, get, "Param0", params.param0);
  if (SUCCEEDED(params.status)) params.status = readRecord(command, trace, get, "Param1", params.param1);
  return params;
}

// When a record command hands its output over.
enum class SuccessWhen {
  OutputSet,             // whatever the service's status
  OutputSetAndStatusOk,  // and the service's status is not negative
};

// What a record command returns once the service has answered.
enum class RecordReturns {
  ServiceStatus,   // the service's status on every path
  FailWhenNotSet,  // the service's status when the output was handed over, else E_FAIL
  NegativeElseOk,  // the service's status when negative, else S_OK
};

// How one record command differs from the plain row: its name for the success line, the test
// of success, the failure line (none when null), the status rule, the result key, and a line
// traced about the output after the success line.
template <class Out>
struct RecordRules {
  const char* name = nullptr;
  SuccessWhen success = SuccessWhen::OutputSet;
  const char* failureLine = nullptr;
  RecordReturns returns = RecordReturns::ServiceStatus;
  const char* resultKey = "result0";
  void (*traceOutput)(ZORQemTrace&, const Out&) = nullptr;
};

// A record command: reads "Param0" with get, calls the service operation with it and a null
// output, and on success traces the success line and hands the output to set (whose status
// is not looked at). An output not handed over is freed.
template <class In, class Out>
HRESULT runRecordCommand(MIROAppBaseCommand& command, ZORQemTrace& trace, ConfigService& service,
                         RecordGetter<In> get, HRESULT (ConfigService::*call)(const In&, Out*&),
                         RecordSetter<Out> set, const std::type_identity_t<RecordRules<Out>>& rules) {
  In* input = nullptr;
  HRESULT status = readRecord(command, trace, get, "Param0", input);
  if (FAILED(status)) return status;

  OutRecord<Out> output;
  status = (service.*call)(*input, output.out());
  const bool succeeded = output && (rules.success == SuccessWhen::OutputSet || SUCCEEDED(status));
  if (succeeded) {
    traceSucceeded(trace, rules.name);
    if (rules.traceOutput) rules.traceOutput(trace, *output);
    (command.*set)(rules.resultKey, output.release());
  } else if (rules.failureLine) {
    traceLine(trace, rules.failureLine);
  }

  switch (rules.returns) {
    case RecordReturns::FailWhenNotSet:
      return succeeded ? status : E_FAIL;
    case RecordReturns::NegativeElseOk:
      return FAILED(status) ? status : S_OK;
    case RecordReturns::ServiceStatus:
      break;
  }
  return status;
}

// Ends a status action on the service's status: traces the failure line when it is negative,
// else the success line of the command, and gives the status back.
inline HRESULT reportAction(ZORQemTrace& trace, HRESULT status, const char* failureLine,
                            const char* command) {
  if (FAILED(status))
    traceLine(trace, failureLine);
  else
    traceSucceeded(trace, command);
  return status;
}

// A status action on one record parameter, "Param0" read with get and passed to the service
// operation.
template <class In>
HRESULT runStatusAction(MIROAppBaseCommand& command, ZORQemTrace& trace, ConfigService& service,
                        RecordGetter<In> get, HRESULT (ConfigService::*call)(const In&),
                        const char* failureLine, const char* name) {
  In* input = nullptr;
  const HRESULT status = readRecord(command, trace, get, "Param0", input);
  if (FAILED(status)) return status;
  return reportAction(trace, (service.*call)(*input), failureLine, name);
}

}  // namespace oks
