// Parameters the handler commands share: the context nodes of a handler ("Param0" and "Param1")
// and a name carried by a streamable.
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

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
  Param0And1<QEM_ProductTypes::Node> context;
  StreamableParam<ZORUnicodeString> name;
  HRESULT status() const { return FAILED(context.status) ? context.status : name.status; }
  bool failed() const { return FAILED(status()); }
};

// Reads the context nodes, then the name; stops at the first that cannot be read.
inline NamedHandler readNamedHandler(MIROAppBaseCommand& command, ZORQemTrace& trace) {
  NamedHandler handler;
  handler.context = readParam0And1(command, trace, &MIROAppBaseCommand::GetNodeParameter);
  if (SUCCEEDED(handler.context.status)) handler.name = readNameParam(command, trace, "Param2");
  return handler;
}

}  // namespace oks
