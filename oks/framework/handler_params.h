// Parameters the handler commands share (the context nodes of a handler, a name carried by a
// streamable) and the outcome line of their single service call.
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

// The two context nodes a configuration handler lives under, "Param0" and "Param1".
struct ContextNodes {
  HRESULT status = S_OK;  // the first failing getter's, else that of the second
  QEM_ProductTypes::Node* first = nullptr;
  QEM_ProductTypes::Node* second = nullptr;
};

// Reads the context nodes in order; the first that cannot be read traces
// "Unable to retrieve <key>" and ends the reading.
inline ContextNodes readContextNodes(MIROAppBaseCommand& command, ZORQemTrace& trace) {
  ContextNodes nodes;
  nodes.status = command.GetNodeParameter("Param0", nodes.first);
  if (SUCCEEDED(nodes.status)) {
    nodes.status = command.GetNodeParameter("Param1", nodes.second);
    if (FAILED(nodes.status)) unableToRetrieve(trace, "Param1", nodes.status);
  } else {
    unableToRetrieve(trace, "Param0", nodes.status);
  }
  return nodes;
}

// Reads the name a streamable parameter carries. A failing getter or accessor keeps its
// status; a handle that is empty or carries no text has no name to act on and gives E_FAIL.
// Either way "Unable to retrieve <key>" is traced and failed() is true.
inline StreamableParam<ZORUnicodeString> readNameParam(MIROBaseCommandNoSO& command, ZORQemTrace& trace,
                                                       const ZORUnicodeString& key) {
  auto name = readStreamable<ZORUnicodeString>(command, key);
  if (!name.failed() && !name.object) name.status = E_FAIL;
  if (name.failed()) unableToRetrieve(trace, key.ConvertToChar(), name.status);
  return name;
}

// A configuration handler named by its context nodes and its name ("Param0" to "Param2").
struct NamedHandler {
  ContextNodes context;
  StreamableParam<ZORUnicodeString> name;
  HRESULT status() const { return FAILED(context.status) ? context.status : name.status; }
  bool failed() const { return FAILED(status()); }
};

// Reads the context nodes, then the name; stops at the first that cannot be read.
inline NamedHandler readNamedHandler(MIROAppBaseCommand& command, ZORQemTrace& trace) {
  NamedHandler handler;
  handler.context = readContextNodes(command, trace);
  if (SUCCEEDED(handler.context.status)) handler.name = readNameParam(command, trace, "Param2");
  return handler;
}

// Traces the outcome of a service operation: " <operation> executed successfully." when its
// status is not negative, else "BO--><operation> Function Failed"; gives the status back.
inline HRESULT traceOutcome(ZORQemTrace& trace, const char* operation, HRESULT status) {
  if (SUCCEEDED(status))
    traceSucceeded(trace, operation);
  else
    traceFunctionFailed(trace, operation);
  return status;
}

}  // namespace oks
