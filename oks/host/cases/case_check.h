// The two ways okshost runs cases: "run" prints what was observed, "case" checks every case
// against its expectation and prints one line per case, the differences of each failing one,
// and the tally.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <oks/host/cases/case_runner.h>
#include <oks/host/command_line.h>

namespace oks::host {

// The case files named: files as given, folders searched recursively for *.json, in name order.
// A path that does not exist is returned in `missing`.
std::vector<std::string> caseFiles(const std::vector<std::string>& paths, std::vector<std::string>& missing);

// Checks every case under the paths; the last line written is "N passed, N failed".
int checkCases(const std::vector<std::string>& paths, const RunOptions& options, std::ostream& out);

// Runs the cases of one file and prints the observed outcome as JSON: the outcome of a single
// case, or an array of named outcomes for a group; records leave out members holding their empty
// value, as cases write them. Errors go to err.
int runCaseFile(const std::string& file, const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace oks::host
