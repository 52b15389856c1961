// okshost's command line: the options every sub-command shares, what okshost returns, and the
// sub-commands, each added by the part of the host it drives (cases/case_commands.h,
// reference/reference_commands.h) and list, the loader's own.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace oks::host {

// Exit statuses: every case or step passed; a case or step failed; the input could not be read
// or run.
constexpr int exitPassed = 0;
constexpr int exitFailed = 1;
constexpr int exitUnreadable = 2;

// The version of the shapes --json prints, its "format" member: raised when a member changes
// meaning or goes, not when one is added.
constexpr int jsonFormat = 1;

// What every sub-command is given.
struct HostOptions {
  // The command library to load (--library).
  std::string libraryPath;
  // Standard error with --trace: every trace line is also written there, indented by step depth.
  std::ostream* traceEcho = nullptr;
};

class CommandLine {
 public:
  // Runs a sub-command once the command line is parsed; returns its exit status.
  using Run = std::function<int(const HostOptions&)>;

  CommandLine();
  ~CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // Adds a sub-command, whose arguments and options go on the returned app; its help ends with
  // the global options and the example (a command line after "okshost "). Before it runs, the
  // command library is loaded once, so that one that cannot be loaded at all gives one message,
  // unless the sub-command loads it itself.
  CLI::App& add(const std::string& name, const std::string& description, const std::string& example, Run run,
                bool loadsLibraryItself = false);

  // Parses the arguments and runs the sub-command given: its exit status. Bad arguments (2) and
  // an exception leaving the sub-command are reported in one line on standard error.
  int run(int argc, char** argv);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// list: the registered late types with their class names.
void addListCommand(CommandLine& commandLine);

}  // namespace oks::host
