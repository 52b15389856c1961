// Streamable parameters of the product specification commands: objects passed to the service
// by reference even when the parameter carries none, and the optional domain.
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

// The object the parameter carries, or the empty value when it carries none (absent, getter or
// accessor failing, empty handle, null object): the service never gets a null reference.
template <class T>
const T& objectOr(const StreamableParam<T>& param, const T& empty) {
  return param.object ? *param.object : empty;
}

// A copy of the text the parameter carries, or the empty text.
inline ZORUnicodeString textOr(const StreamableParam<ZORUnicodeString>& param) {
  return param.object ? *param.object : ZORUnicodeString();
}

// Reads the domain text; traces "Failed to get the domain" when the getter or the accessor
// fails (whether that ends the command is the command's rule).
inline StreamableParam<ZORUnicodeString> readDomain(MIROBaseCommandNoSO& command, ZORQemTrace& trace,
                                                    const ZORUnicodeString& key) {
  auto domain = readStreamable<ZORUnicodeString>(command, key);
  if (domain.failed()) traceLine(trace, "Failed to get the domain");
  return domain;
}

}  // namespace oks
