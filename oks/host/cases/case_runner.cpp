#include <stdexcept>

#include <oks/api/command.h>
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

// Takes the "+X::AppExecute" and "-X::AppExecute" lines off both ends of an execution's trace;
// when they are not there, leaves the trace whole and says what is missing.
std::string unbracket(Json& trace, const std::string& className) {
  std::string open = "+" + className + "::AppExecute", close = "-" + className + "::AppExecute";
  if (trace.size() < 2 || trace.front() != open || trace.back() != close)
    return "expected the trace to open with " + open + " and close with " + close;
  trace.erase(trace.begin());
  trace.erase(trace.end() - 1);
  return "";
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

    HRESULT made;
    MIROIBaseCommand* command = makeCommandAdapter(c.command, made);
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
    if (std::string wrong = unbracket(trace, app->IsA()); !wrong.empty()) outcome["bracket"] = wrong;

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

// Unloads the library and checks that it went.
void unload(std::optional<CommandLibrary>& library, const std::string& path) {
  library.reset();
  if (!registeredClasses().empty())
    throw std::runtime_error("the command library " + path + " stayed loaded after the case");
}

}  // namespace

Json runCase(const Case& c, const RunOptions& options) {
  std::optional<CommandLibrary> library(std::in_place, options.libraryPath);
  Json outcome = runLoaded(c, options);
  unload(library, options.libraryPath);
  return outcome;
}

Json FileRun::run(const Case& c) {
  if (c.freshLoad || options_.loadPerCase) {
    unload(library_, options_.libraryPath);
    return runCase(c, options_);
  }
  if (!library_) library_.emplace(options_.libraryPath);
  return runLoaded(c, options_);
}

void FileRun::finish() { unload(library_, options_.libraryPath); }

}  // namespace oks::host
