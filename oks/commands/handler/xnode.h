// The configuration handler's extended node: the object it stands for, its rebuild from the
// application object, and the final status line of the commands that return it.
#pragma once

#include <oks/framework/helpers.h>
#include <oks/platform/trace.h>
#include <oks/service/session.h>
#include <oks/types/product_types.h>

namespace oks {

// The UUID of the object an extended node stands for, that of its last node; null when the
// node lists none (then there is no object to look up).
inline const _SEQUENCE_octet* lastNodeUuid(const QEM_ProductTypes::XNode& node) {
  const auto count = node.Nodes.length();
  return count ? &node.Nodes[count - 1].UUID : nullptr;
}

// Rebuilds a handler's extended node from its application object. Traces and answers false
// when there is no application object or its extended-node view cannot be made; otherwise
// `node` holds what the view gave (possibly null) and the answer is true.
inline bool rebuildFromAppObject(ZORQemTrace& trace, ApplicationObject* object,
                                 OutRecord<QEM_ProductTypes::XNode>& node) {
  if (!object) {
    traceLine(trace, "ERROR: Could not get application object.");
    return false;
  }
  ApplicationXNode view(object);
  if (view.IsNull()) {
    traceLine(trace, "ERROR: Could not get application xnode.");
    return false;
  }
  node.out() = view.GetOrbixXNode(0, 0);
  return true;
}

// The final status line: the trace facility's label, the status, its line end.
inline void traceReturns(ZORQemTrace& trace, HRESULT status) {
  trace << ZORQemTrace_returns << static_cast<long>(status) << ZORQemTrace_nl;
}

}  // namespace oks
