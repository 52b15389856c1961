#include <stdexcept>

#include <oks/api/library.h>
#include <oks/host/cases/case_runner.h>
#include <oks/host/cases/scripted_server.h>
#include <oks/platform/trace.h>
#include <oks/service/session.h>

namespace oks::host {
namespace {

// The lines captured since the last call, echoed when asked.
Json takeLines(TraceCapture& capture, std::ostream* echo) {
  Json lines = Json::array();
  for (const TraceLine& line : capture.take()) {
    if (echo) *echo << std::string(2 * static_cast<std::size_t>(line.depth), ' ') << line.text << "\n";
    lines.push_back(line.text);
  }
  return lines;
}

void append(Json& lines, const Json& more) {
  for (const Json& line : more) lines.push_back(line);
}

// Everything a run changes outside the library, undone on every exit.
struct RunScope {
  explicit RunScope(const FaultPlan& plan) { setFaults(plan); }
  ~RunScope() {
    clearFaults();
    resetSession();
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;
};

Json runLoaded(const Case& c, const RunOptions& options) {
  ScriptedServer scripted(c.server);
  TraceCapture capture;
  Json outcome = Json::object();
  Json lifecycle = Json::array();
  Json status = nullptr, exception = nullptr;
  {
    RunScope scope(c.faults);
    ScopedServer server(&scripted.server());
    ScopedTraceSink sink(&capture);

    ZORBaseUnknown* object = new ZORObject(c.command.c_str(), nullptr);
    MIROIBaseCommand* command = nullptr;
    if (!object->IsNull()) object->QueryInterface(IID_MIROIBaseCommand, reinterpret_cast<void**>(&command));
    object->Release();
    append(lifecycle, takeLines(capture, options.traceEcho));
    outcome["created"] = command != nullptr;
    if (!command) {
      outcome["lifecycle"] = lifecycle;
      return outcome;
    }

    auto* app = dynamic_cast<MIROAppBaseCommand*>(command->GetImpl(1));
    if (!app) {
      command->Release();
      throw std::runtime_error(c.command + " is not a command of the host base class");
    }
    for (const Param& param : c.params) setParam(*command, *app, param);
    takeLines(capture, options.traceEcho);

    execute(*command, status, exception);
    Json trace = takeLines(capture, options.traceEcho);
    Json results = readResults(*app);

    command->Release();
    append(lifecycle, takeLines(capture, options.traceEcho));

    outcome["status"] = status;
    outcome["results"] = results;
    outcome["trace"] = trace;
    outcome["lifecycle"] = lifecycle;
  }
  outcome["calls"] = scripted.calls();
  outcome["exception"] = exception;
  return outcome;
}

}  // namespace

Json runCase(const Case& c, const RunOptions& options) {
  Json outcome;
  {
    // A fresh load for every case: unit statics and adapter meta objects start clean.
    CommandLibrary library(options.libraryPath);
    outcome = runLoaded(c, options);
  }
  if (!registeredClasses().empty())
    throw std::runtime_error("the command library " + options.libraryPath + " stayed loaded after the case");
  return outcome;
}

}  // namespace oks::host
