// okshost: loads the command library as the server does and drives its commands: lists the
// registered late types, runs a case and prints what it observed, or checks cases against
// their expectations.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>

#include <oks/host/case_check.h>
#include <oks/host/library.h>
#include <oks/host/reference_script.h>
#include <oks/platform/object_model.h>

namespace {

int listCommands(const std::string& libraryPath) {
  oks::host::CommandLibrary library(libraryPath);
  auto classes = oks::registeredClasses();
  std::size_t width = 0;
  for (const auto* meta : classes) width = std::max(width, std::string(meta->LateType()).size());
  for (const auto* meta : classes)
    std::printf("%-*s  %s\n", static_cast<int>(width), meta->LateType(), meta->ClassName());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"okshost: loads the configuration command library and runs its commands"};
  app.require_subcommand(1);
  app.fallthrough();
  std::string libraryPath = oks::host::CommandLibrary::defaultPath();
  bool trace = false;
  app.add_option("--library", libraryPath, "the command library to load")->capture_default_str();
  app.add_flag("--trace", trace,
               "print the trace lines of every case to standard error, indented by step depth");

  auto* list = app.add_subcommand("list", "print the registered late types with their class names");

  std::string runFile;
  auto* run = app.add_subcommand("run", "run the case(s) of a file and print the observed outcome as JSON");
  run->add_option("CASE", runFile, "the case file")->required();

  std::vector<std::string> casePaths;
  auto* check =
      app.add_subcommand("case", "check cases against their expectations; ends with \"N passed, N failed\"");
  check->add_option("PATH", casePaths, "case files, or folders searched recursively for *.json")->required();

  oks::host::ReferenceOptions reference;
  std::string lateType;
  std::vector<std::string> execParams;
  auto* exec =
      app.add_subcommand("exec", "run one command against the reference store and print its outcome");
  exec->add_option("LATE_TYPE", lateType, "the command's late type")->required();
  exec->add_option("--param", execParams, "a parameter, KEY=JSON in the notation of the cases");
  exec->add_option("--store", reference.storeFile, "the store file to start from (default: an empty store)");

  std::string scriptFile;
  bool json = false;
  auto* script = app.add_subcommand("script", "run the named steps of a script against the reference store");
  script->add_option("FILE", scriptFile, "the script file")->required();
  script->add_option("--store", reference.storeFile,
                     "the store file to start from (default: the script's own)");
  script->add_flag("--json", json, "print every step's outcome as JSON");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    if (app.get_subcommands().empty() && !app.remaining().empty())
      std::cerr << "okshost: unknown sub-command '" << app.remaining().front()
                << "' (expected list, run, case, exec or script)\n";
    else
      std::cerr << "okshost: " << e.what() << " (see --help)\n";
    return e.get_exit_code() != 0 ? e.get_exit_code() : 1;
  }

  oks::host::RunOptions options;
  options.libraryPath = libraryPath;
  if (trace) options.traceEcho = &std::cerr;
  reference.libraryPath = libraryPath;
  reference.traceEcho = options.traceEcho;
  try {
    if (*list) return listCommands(libraryPath);
    { oks::host::CommandLibrary check(libraryPath); }  // one message when it cannot be loaded at all
    if (*run) return oks::host::runCaseFile(runFile, options, std::cout, std::cerr);
    if (*check) return oks::host::checkCases(casePaths, options, std::cout);
    if (*exec) return oks::host::execCommand(reference, lateType, execParams, std::cout, std::cerr);
    if (*script) return oks::host::runScript(reference, scriptFile, json, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "okshost: " << e.what() << "\n";
    return oks::host::exitUnreadable;
  }
  return 0;
}
