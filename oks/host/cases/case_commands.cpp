#include <CLI/CLI.hpp>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>

#include <oks/host/cases/case_check.h>
#include <oks/host/cases/case_commands.h>

namespace oks::host {
namespace {

RunOptions runOptions(const HostOptions& options) { return {options.libraryPath, options.traceEcho}; }

// The lines of a check ("PASS case", "FAIL case" with its differences indented below, "ERROR
// case: why", and the tally) as one object: {"format": 1, "cases": [{"case", "verdict",
// "differences"}], "summary": {"outcome", "passed", "failed"}}.
Json checkAsJson(const std::string& lines, int exit) {
  Json cases = Json::array();
  std::istringstream in(lines);
  std::string line;
  int passed = 0, failed = 0;
  while (std::getline(in, line)) {
    if (line.rfind("    ", 0) == 0 && !cases.empty()) {
      cases.back()["differences"].push_back(line.substr(4));
    } else if (line.rfind("PASS ", 0) == 0 || line.rfind("FAIL ", 0) == 0 || line.rfind("ERROR ", 0) == 0) {
      std::size_t space = line.find(' ');
      std::string verdict = line.substr(0, space);
      for (char& c : verdict) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      cases.push_back(
          {{"case", line.substr(space + 1)}, {"verdict", verdict}, {"differences", Json::array()}});
    } else {
      std::sscanf(line.c_str(), "%d passed, %d failed", &passed, &failed);
    }
  }
  std::string outcome = exit == exitPassed ? "ok" : exit == exitFailed ? "failed" : "error";
  return {{"format", jsonFormat},
          {"cases", cases},
          {"summary", {{"outcome", outcome}, {"passed", passed}, {"failed", failed}}}};
}

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

  struct Check {
    std::vector<std::string> paths;
    bool json = false;
  };
  auto check = std::make_shared<Check>();
  CLI::App& caseApp =
      commandLine.add("case", "check cases against their expectations; ends with \"N passed, N failed\"",
                      "case tests/cases examples/cases", [check](const HostOptions& options) {
                        if (!check->json) return checkCases(check->paths, runOptions(options), std::cout);
                        std::ostringstream lines;
                        int exit = checkCases(check->paths, runOptions(options), lines);
                        std::cout << checkAsJson(lines.str(), exit).dump(2) << "\n";
                        return exit;
                      });
  caseApp.add_option("PATH", check->paths, "case files, or folders searched recursively for *.json")
      ->required();
  caseApp.add_flag("--json", check->json,
                   "print one object: {\"format\": 1, \"cases\": [{\"case\", \"verdict\", \"differences\"}], "
                   "\"summary\"}");
}

}  // namespace oks::host
