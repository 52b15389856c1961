// Runs one case: loads the command library afresh, installs the case's faults and scripted
// server, creates the command by its late type, sets its parameters, executes it, reads its
// results, releases it, and reports what was observed.
#pragma once

#include <ostream>
#include <string>

#include <oks/host/cases/case_file.h>

namespace oks::host {

struct RunOptions {
  std::string libraryPath;
  // When set, every trace line is also written here, indented by step depth.
  std::ostream* traceEcho = nullptr;
};

// The observed outcome: created, status, results, trace, lifecycle, calls, exception (only
// created and lifecycle when the command could not be made). Throws std::runtime_error when the
// library cannot be loaded or does not unload.
Json runCase(const Case& c, const RunOptions& options);

}  // namespace oks::host
