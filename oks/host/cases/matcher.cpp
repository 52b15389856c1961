#include <algorithm>

#include <oks/host/cases/matcher.h>
#include <oks/host/cases/scripted_server.h>

namespace oks::host {
namespace {

Difference differ(const std::string& path, const std::string& what, const Json* expected,
                  const Json* observed) {
  Difference d;
  d.path = path;
  d.what = what;
  d.expectedAbsent = expected == nullptr;
  d.observedAbsent = observed == nullptr;
  if (expected) d.expected = *expected;
  if (observed) d.observed = *observed;
  return d;
}

void matchLines(const Json& expected, const Json& observed, const std::string& path,
                std::vector<Difference>& out) {
  if (!expected.is_array() || !observed.is_array()) {
    if (expected != observed) out.push_back(differ(path, "differs", &expected, &observed));
    return;
  }
  if (expected.size() != observed.size())
    out.push_back(differ(
        path,
        "expected " + std::to_string(expected.size()) + " lines, observed " + std::to_string(observed.size()),
        nullptr, nullptr));
  for (std::size_t i = 0; i < std::max(expected.size(), observed.size()); ++i) {
    const Json* e = i < expected.size() ? &expected[i] : nullptr;
    const Json* o = i < observed.size() ? &observed[i] : nullptr;
    if (!e || !o || *e != *o)
      out.push_back(differ(indexPath(path, i),
                           !e   ? "line not expected"
                           : !o ? "line missing"
                                : "line differs",
                           e, o));
  }
}

void matchResults(const Json& expected, const Json& observed, const std::string& path,
                  std::vector<Difference>& out) {
  if (!expected.is_object() || !observed.is_object()) {
    matchValue(expected, observed, path, out);
    return;
  }
  for (const auto& [key, value] : expected.items()) {
    auto it = observed.find(key);
    if (it == observed.end())
      out.push_back(differ(memberPath(path, key), "result not set", &value, nullptr));
    else
      matchValue(value, *it, memberPath(path, key), out);
  }
  for (const auto& [key, value] : observed.items())
    if (!expected.contains(key))
      out.push_back(differ(memberPath(path, key), "result not expected", nullptr, &value));
}

Json opNames(const Json& calls) {
  Json names = Json::array();
  for (const Json& call : calls) names.push_back(call.is_object() && call.contains("op") ? call["op"] : call);
  return names;
}

void matchCalls(const Json& expected, const Json& observed, const std::string& path,
                std::vector<Difference>& out) {
  if (!expected.is_array() || !observed.is_array()) {
    matchValue(expected, observed, path, out);
    return;
  }
  if (expected.size() != observed.size()) {
    Json e = opNames(expected), o = opNames(observed);
    out.push_back(differ(
        path,
        "expected " + std::to_string(expected.size()) + " calls, observed " + std::to_string(observed.size()),
        &e, &o));
    return;
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    std::string at = indexPath(path, i);
    if (expected[i].is_string()) {
      const Json& op =
          observed[i].is_object() && observed[i].contains("op") ? observed[i]["op"] : observed[i];
      if (expected[i] != op)
        out.push_back(differ(memberPath(at, "op"), "another operation", &expected[i], &op));
    } else {
      matchValue(expected[i], observed[i], at, out);
    }
  }
}

void checkLines(const Json& j, const std::string& path) {
  expectArray(j, path);
  for (std::size_t i = 0; i < j.size(); ++i) decodeAs<std::string>(j[i], indexPath(path, i));
}

void checkCalls(const Json& j, const std::string& path) {
  expectArray(j, path);
  auto ops = ScriptedServer::operationNames();
  for (std::size_t i = 0; i < j.size(); ++i) {
    std::string at = indexPath(path, i);
    const Json* op = &j[i];
    if (j[i].is_object()) {
      expectMembers(j[i], {"op", "args"}, at);
      if (!j[i].contains("op")) throw CaseError(at, "a call names its operation in \"op\"");
      if (j[i].contains("args")) expectArray(j[i]["args"], memberPath(at, "args"));
      op = &j[i]["op"];
      at = memberPath(at, "op");
    }
    std::string name = decodeAs<std::string>(*op, at);
    if (std::find(ops.begin(), ops.end(), name) == ops.end())
      throw CaseError(at, "the server has no operation named " + name);
  }
}

}  // namespace

void checkExpectMember(const std::string& name, const Json& value, const std::string& path) {
  if (name == "created") {
    decodeAs<bool>(value, path);
  } else if (name == "status") {
    if (!value.is_null()) decodeAs<HRESULT>(value, path);
  } else if (name == "results") {
    if (!value.is_object()) throw CaseError(path, "expected an object of result keys and values");
  } else if (name == "trace" || name == "lifecycle") {
    checkLines(value, path);
  } else if (name == "calls") {
    checkCalls(value, path);
  } else if (name == "exception") {
    if (!value.is_null()) decodeAs<std::string>(value, path);
  } else {
    throw CaseError(
        path,
        "unknown member (expected one of created, status, results, trace, lifecycle, calls, exception)");
  }
}

void checkExpect(const Json& j, const std::string& path) {
  expectMembers(j, {"created", "status", "results", "trace", "lifecycle", "calls", "exception"}, path);
  for (const auto& [name, value] : j.items()) checkExpectMember(name, value, memberPath(path, name));
}

void matchValue(const Json& expected, const Json& observed, const std::string& path,
                std::vector<Difference>& out) {
  if (expected.is_object()) {
    if (!observed.is_object()) {
      out.push_back(differ(path, "expected an object", &expected, &observed));
      return;
    }
    for (const auto& [name, value] : expected.items()) {
      auto it = observed.find(name);
      if (it == observed.end())
        out.push_back(differ(memberPath(path, name), "member missing", &value, nullptr));
      else
        matchValue(value, *it, memberPath(path, name), out);
    }
  } else if (expected.is_array()) {
    if (!observed.is_array() || observed.size() != expected.size()) {
      out.push_back(differ(path,
                           observed.is_array() ? "expected " + std::to_string(expected.size()) +
                                                     " elements, observed " + std::to_string(observed.size())
                                               : "expected an array",
                           &expected, &observed));
      return;
    }
    for (std::size_t i = 0; i < expected.size(); ++i)
      matchValue(expected[i], observed[i], indexPath(path, i), out);
  } else if (expected != observed) {
    out.push_back(differ(path, "differs", &expected, &observed));
  }
}

std::vector<Difference> matchOutcome(const Json& expect, const Json& observed) {
  std::vector<Difference> out;
  // The runner's own check of every execution, whatever the case expects.
  if (auto bracket = observed.find("bracket"); bracket != observed.end())
    out.push_back(differ("trace", bracket->get<std::string>(), nullptr, &observed["trace"]));
  for (const auto& [member, expected] : expect.items()) {
    auto it = observed.find(member);
    if (it == observed.end()) {
      out.push_back(differ(member, "not observed", &expected, nullptr));
    } else if (member == "results") {
      matchResults(expected, *it, member, out);
    } else if (member == "calls") {
      matchCalls(expected, *it, member, out);
    } else if (member == "trace" || member == "lifecycle") {
      matchLines(expected, *it, member, out);
    } else if (expected != *it) {
      out.push_back(differ(member, "differs", &expected, &*it));
    }
  }
  return out;
}

void printDifferences(std::ostream& out, const std::vector<Difference>& differences) {
  for (const Difference& d : differences) {
    out << "    " << d.path << ": " << d.what << "\n";
    if (!d.expectedAbsent) out << "      expected: " << d.expected.dump() << "\n";
    if (!d.observedAbsent) out << "      observed: " << d.observed.dump() << "\n";
  }
}

}  // namespace oks::host
