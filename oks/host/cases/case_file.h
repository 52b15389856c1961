// Case files: one case, or a group of cases of one command sharing parameters, answers and
// faults that each case replaces member by member (a member set to null is removed). Reading a
// file checks every member, so that a malformed case is reported before anything runs.
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
