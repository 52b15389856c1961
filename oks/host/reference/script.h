// Scripts: named steps run one after the other against one reference store, each a command with
// its parameters, where a parameter may take an earlier step's result.
//
//   { "store": "store.json",
//     "steps": [ { "name": "view", "command": "OKS_getCVFromPRC",
//                  "params": { "Param0": { "XNodeSeq": [ { "Nodes": [ { "Name": "Bike" } ] } ] } } },
//                { "name": "tree", "command": "OKS_getConfigTree",
//                  "params": { "Param0": { "from": "view.result0[0].Nodes[0]", "as": "Node" } },
//                  "expect": { "status": 0 } } ] }
//
// "store" names the store file, relative to the script. A parameter {"from": "STEP.KEY"} is
// that step's result KEY in the parameter notation (a streamer result as the streamable it
// carries); a path after the key (".Member", "[i]") takes a part of it, which names its kind
// with "as". Inside a parameter value, {"from": "STEP.KEY..."} stands for the value itself.
// A step ends the script when its status is negative (unless it says "mayFail": true) or when
// its outcome differs from its "expect" (matched as a case's expectation).
#pragma once

#include <ostream>
#include <string>

#include <oks/host/reference/exec.h>

namespace oks::host {

// okshost script FILE: runs the steps, printing one line per step and a summary, or, with json,
// one object: {"format": 1, "script", "steps": [every step's outcome], "summary": {"outcome":
// "ok" or "stopped", "steps", "run", "verdicts", "stoppedAt", "notRun"}}. Returns 0 when every step ran as it
// should, 1 when a step ended the script, 2 for bad input (the script, a parameter, a reference, the store).
int runScript(const ReferenceOptions& options, const std::string& file, bool json, std::ostream& out,
              std::ostream& err);

// Reads and checks a parsed script without running it; throws CaseError naming the place.
void checkScript(const Json& j);

}  // namespace oks::host
