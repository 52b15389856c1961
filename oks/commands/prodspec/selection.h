// The selection the specification initialisation and verification work on: the configurable
// object ("Param0") and the selected objects ("Param1").
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

struct SpecSelection {
  QEM_ProductTypes::Node* configurable = nullptr;
  QEM_ProductTypes::NodeSeq* selectedObjects = nullptr;
};

// Reads the selection; the first failing getter is traced and its status returned.
inline HRESULT readSpecSelection(MIROAppBaseCommand& command, ZORQemTrace& trace, SpecSelection& selection) {
  HRESULT status = command.GetNodeParameter("Param0", selection.configurable);
  if (FAILED(status)) return unableToRetrieve(trace, " configurable", status);
  status = command.GetNodeSeqParameter("Param1", selection.selectedObjects);
  if (FAILED(status)) return unableToRetrieve(trace, "selectedObjects", status);
  return status;
}

}  // namespace oks
