#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include <oks/host/cases/case_check.h>
#include <oks/host/cases/case_commands.h>

namespace oks::host {
namespace {

RunOptions runOptions(const HostOptions& options) { return {options.libraryPath, options.traceEcho}; }

}  // namespace

void addCaseCommands(CommandLine& commandLine) {
  auto file = std::make_shared<std::string>();
  commandLine
      .add("run", "run the case(s) of a file and print the observed outcome as JSON",
           "run examples/cases/getCHList.json",
           [file](const HostOptions& options) {
             return runCaseFile(*file, runOptions(options), std::cout, std::cerr);
           })
      .add_option("CASE", *file, "the case file")
      ->required();

  auto paths = std::make_shared<std::vector<std::string>>();
  commandLine
      .add("case", "check cases against their expectations; ends with \"N passed, N failed\"",
           "case tests/cases examples/cases",
           [paths](const HostOptions& options) { return checkCases(*paths, runOptions(options), std::cout); })
      .add_option("PATH", *paths, "case files, or folders searched recursively for *.json")
      ->required();
}

}  // namespace oks::host
