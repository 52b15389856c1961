// Expectations, of a case or of a script step: what an "expect" member may hold, and how an
// observed outcome matches it. Every member present in the expectation is checked, members left
// out are not. created, status and exception match
// exactly, and so does every trace and lifecycle line; results must hold exactly the listed
// keys; calls must have the same length and order, an entry being an operation name or a call
// object. Inside a value, an expected object matches when each member it lists matches, and
// arrays match element by element with the same length.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <oks/host/codec.h>

namespace oks::host {

struct Difference {
  std::string path;
  std::string what;  // what differs, in words
  Json expected;     // null when the expectation has nothing there (see expectedAbsent)
  Json observed;     // null when nothing was observed there (see observedAbsent)
  bool expectedAbsent = false;
  bool observedAbsent = false;
};

// Checks an "expect" member: known members of the right types, calls of operations the server
// has. Throws CaseError naming the member.
void checkExpect(const Json& j, const std::string& path);
// The same for one member of it, written at path.
void checkExpectMember(const std::string& name, const Json& value, const std::string& path);

std::vector<Difference> matchOutcome(const Json& expect, const Json& observed);
// The record rule on its own: an expected value against an observed one.
void matchValue(const Json& expected, const Json& observed, const std::string& path,
                std::vector<Difference>& out);

// Writes the differences, indented, one member path with its expected and observed value each.
void printDifferences(std::ostream& out, const std::vector<Difference>& differences);

}  // namespace oks::host
