// The single-call commands, each one declaration in its unit. A record command reads one record
// parameter, hands it to one service operation that answers with a record, and returns that
// record as its result. A status action reads one record parameter, calls one service operation
// and answers with the service's status, tracing whether it failed. An unchecked action calls
// one service operation without parameters and reports success whatever it answers.
#pragma once

#include <memory>
#include <type_traits>

#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

namespace oks {

// A record setter of the host, such as SetNodeSeqResult; it takes the record.
template <class T>
using RecordSetter = HRESULT (MIROAppBaseCommand::*)(const ZORUnicodeString&, const T*);

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

// How one record command differs from the plain row: the test of success, the failure line,
// the status rule, the result key, a line traced about the output after the success line, and
// whether the service object is made on the heap (a refused allocation ends the command).
template <class Out>
struct RecordRules {
  SuccessWhen success = SuccessWhen::OutputSet;
  FailureLine failureLine = {};
  RecordReturns returns = RecordReturns::ServiceStatus;
  const char* resultKey = "result0";
  void (*traceOutput)(ZORQemTrace&, const Out&) = nullptr;
  bool serviceOnHeap = false;
};

// A record command: reads "Param0" with get, calls the service operation with it and a null
// output, and on success traces the success line of the command and hands the output to set
// (whose status is not looked at). An output not handed over is freed.
template <class In, class Out>
HRESULT runRecordCommand(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                         RecordGetter<In> get, HRESULT (ConfigService::*call)(const In&, Out*&),
                         RecordSetter<Out> set, const std::type_identity_t<RecordRules<Out>>& rules) {
  std::unique_ptr<ConfigService> onHeap;
  ConfigService onStack;
  if (rules.serviceOnHeap && !(onHeap = makeService(trace))) return E_FAIL;
  ConfigService& service = onHeap ? *onHeap : onStack;

  In* input = nullptr;
  HRESULT status = readRecord(command, trace, get, "Param0", input);
  if (FAILED(status)) return status;

  OutRecord<Out> output;
  status = (service.*call)(*input, output.out());
  const bool succeeded = output && (rules.success == SuccessWhen::OutputSet || SUCCEEDED(status));
  if (succeeded) {
    traceSucceeded(trace, name);
    if (rules.traceOutput) rules.traceOutput(trace, *output);
    (command.*set)(rules.resultKey, output.release());
  } else {
    rules.failureLine.trace(trace, name);
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

// How one status action differs from the plain row: its failure line.
struct ActionRules {
  FailureLine failureLine = {};
};

// A status action on one record parameter, "Param0" read with get and passed to the service
// operation; its outcome traced by status.
template <class In>
HRESULT runStatusAction(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                        RecordGetter<In> get, HRESULT (ConfigService::*call)(const In&),
                        const ActionRules& rules) {
  ConfigService service;
  In* input = nullptr;
  const HRESULT status = readRecord(command, trace, get, "Param0", input);
  if (FAILED(status)) return status;
  return reportOutcome(trace, name, (service.*call)(*input), rules.failureLine);
}

// An unchecked action: the service operation, then the success line whatever it answered; its
// status is returned.
inline HRESULT runUncheckedAction(ZORQemTrace& trace, const char* name, HRESULT (ConfigService::*call)()) {
  ConfigService service;
  const HRESULT status = (service.*call)();
  traceSucceeded(trace, name);
  return status;
}

}  // namespace oks

// The declarations of the single-call units: the command and its late type and destructor kind
// as OKS_COMMAND takes them, the host accessors and the service operation by name, then the
// rules in which the command differs from the plain row (designated members of RecordRules or
// ActionRules), if any.
// clang-format off
#define OKS_RECORD_COMMAND(Name, LateTypeText, DestructorKind, Getter, Operation, Setter, ...)       \
  OKS_COMMAND(Name, LateTypeText, DestructorKind) {                                                 \
    return oks::runRecordCommand(*this, trace, oksUnitName, &MIROAppBaseCommand::Getter,            \
                                 &oks::ConfigService::Operation, &MIROAppBaseCommand::Setter,       \
                                 {__VA_ARGS__});                                                    \
  }                                                                                                 \
  static_assert(true, "")

#define OKS_STATUS_ACTION(Name, LateTypeText, DestructorKind, Getter, Operation, ...)                \
  OKS_COMMAND(Name, LateTypeText, DestructorKind) {                                                 \
    return oks::runStatusAction(*this, trace, oksUnitName, &MIROAppBaseCommand::Getter,             \
                                &oks::ConfigService::Operation, {__VA_ARGS__});                     \
  }                                                                                                 \
  static_assert(true, "")

#define OKS_UNCHECKED_ACTION(Name, LateTypeText, DestructorKind, Operation)                          \
  OKS_COMMAND(Name, LateTypeText, DestructorKind) {                                                 \
    return oks::runUncheckedAction(trace, oksUnitName, &oks::ConfigService::Operation);             \
  }                                                                                                 \
  static_assert(true, "")
// clang-format on
