// Case files: one case, or a group of cases sharing command, parameters, answers, faults and
// expectation, which each case or nested group replaces member by member (a member set to null
// is removed); a group may also give its cases as a table of columns and rows. Reading a file
// checks every member, so that a malformed case is reported before anything runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <oks/host/codec.h>
#include <oks/host/values.h>
#include <oks/platform/faults.h>

namespace oks::host {

struct Case {
  std::string file;
  std::string name;
  std::string command;  // the late type
  std::vector<Param> params;
  Json server = Json::object();
  FaultPlan faults;
  std::optional<Json> expect;
  bool freshLoad = false;  // run on a load of the library of its own
};

// A case as read: usable, or the one-line reason it is not (error set, case empty).
struct ReadCase {
  std::string name;
  std::optional<Case> spec;
  std::string error;
  bool grouped = false;  // one of the "cases" of a group
};

// Reads every case of a file. Never throws: a file that cannot be read yields one entry with
// its error; a malformed case of a group yields its error while the others stay usable.
std::vector<ReadCase> readCaseFile(const std::string& file);
// The same for a text already read (the file name is only used in messages and the cases).
std::vector<ReadCase> readCaseText(const std::string& text, const std::string& file);

// Decodes a "faults" member.
FaultPlan decodeFaults(const Json& j, const std::string& path);

}  // namespace oks::host
