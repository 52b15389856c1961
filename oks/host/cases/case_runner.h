// Runs cases: installs a case's faults and scripted server, creates the command by its late type,
// sets its parameters, executes it, reads its results, releases it, and reports what was
// observed. The cases of one file share one load of the command library; a case that asks for a
// fresh load (load order, unit statics, adapter meta objects) gets one of its own.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include <oks/api/library.h>
#include <oks/host/cases/case_file.h>

namespace oks::host {

struct RunOptions {
  std::string libraryPath;
  // When set, every trace line is also written here, indented by step depth.
  std::ostream* traceEcho = nullptr;
  // Every case on a load of its own, as if each asked for a fresh load (for comparison).
  bool loadPerCase = false;
};

// The observed outcome: created, status, results, trace, lifecycle, calls, exception (only
// created and lifecycle when the command could not be made). `trace` holds the lines between the
// "+X::AppExecute" and "-X::AppExecute" lines that every execution of command class X opens and
// closes; when they are not there the whole trace is kept and `bracket` says what is wrong.
// runCase loads the library afresh for the case. Throws std::runtime_error when the library
// cannot be loaded or does not unload.
Json runCase(const Case& c, const RunOptions& options);

// The cases of one file, run on one load of the library, made on the first case that needs it.
class FileRun {
 public:
  explicit FileRun(const RunOptions& options) : options_(options) {}
  // Runs a case on the shared load, or on a fresh one of its own (the shared load is dropped
  // first, so that the fresh one really starts clean).
  Json run(const Case& c);
  // Unloads the library; throws std::runtime_error when it stays loaded.
  void finish();

 private:
  RunOptions options_;
  std::optional<CommandLibrary> library_;
};

}  // namespace oks::host
