#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include <oks/host/cases/case_file.h>
#include <oks/host/cases/matcher.h>
#include <oks/host/cases/scripted_server.h>

namespace oks::host {
namespace {

// The members of a params, server, faults or expect object after grouping, each with the path it
// was written at. The value is the one in the file read, or one made by merging.
struct Member {
  std::string name;
  const Json* value;
  std::string path;
};
using Members = std::vector<Member>;

// What one file's reading keeps: the answers made by merging, and what was already checked or
// decoded, so that a value shared by many cases is checked and decoded once.
struct Reading {
  std::deque<Json> made;
  std::set<const Json*> checked;
  std::map<const Json*, ParamValue> params;
};

Members membersOf(const Json& j, const std::string& path) {
  Members out;
  if (j.is_null()) return out;
  if (!j.is_object()) throw CaseError(path, "expected an object");
  for (const auto& [name, value] : j.items()) out.push_back({name, &value, memberPath(path, name)});
  return out;
}

// A shared value changed by a patch: an object patch changes an object member by member (a member
// set to null is removed) and an array element by element, its members naming indexes ("0", "1",
// ...); any other patch replaces the value.
Json patched(Json target, const Json& patch, const std::string& path) {
  if (!patch.is_object()) return patch;
  if (target.is_array()) {
    for (const auto& [index, one] : patch.items()) {
      // Nine digits at most: a longer index names no element, and would not fit the conversion.
      bool number =
          !index.empty() && index.size() <= 9 && index.find_first_not_of("0123456789") == std::string::npos;
      std::size_t i = number ? std::stoul(index) : target.size();
      if (i >= target.size()) throw CaseError(memberPath(path, index), "no shared element of that index");
      target[i] = patched(std::move(target[i]), one, memberPath(path, index));
    }
    return target;
  }
  if (!target.is_object()) target = Json::object();
  for (const auto& [name, one] : patch.items()) {
    if (one.is_null())
      target.erase(name);
    else
      target[name] =
          patched(target.contains(name) ? std::move(target[name]) : Json(), one, memberPath(path, name));
  }
  return target;
}

// The shared members replaced member by member by the case's; null removes a member (in
// `expect` it expects null). An answer or an expected member {"merge": PATCH} changes the shared
// one instead (patched()).
Members merged(Members shared, const Json& own, const std::string& path, bool nullRemoves, Reading& reading) {
  bool patchable = path.ends_with("server") || path.ends_with("expect");
  for (Member m : membersOf(own, path)) {
    auto it = std::find_if(shared.begin(), shared.end(), [&](const Member& s) { return s.name == m.name; });
    if (patchable && m.value->is_object() && m.value->size() == 1 && m.value->contains("merge")) {
      std::string at = memberPath(m.path, "merge");
      if (it == shared.end()) throw CaseError(at, "nothing shared to change");
      m.value = &reading.made.emplace_back(patched(*it->value, (*m.value)["merge"], at));
    }
    if (m.value->is_null() && nullRemoves) {
      if (it != shared.end()) shared.erase(it);
    } else if (it != shared.end()) {
      *it = m;
    } else {
      shared.push_back(m);
    }
  }
  return shared;
}

std::vector<int> decodeOccurrences(const Json& j, const std::string& path) {
  expectArray(j, path);
  std::vector<int> occurrences;
  for (std::size_t i = 0; i < j.size(); ++i) {
    occurrences.push_back(decodeAs<int>(j[i], indexPath(path, i)));
    if (occurrences.back() < 1) throw CaseError(indexPath(path, i), "occurrences count from 1");
  }
  return occurrences;
}

StreamerFault decodeStreamerFault(const Json& j, const std::string& path) {
  expectMembers(j, {"lateType", "nth", "interface", "status", "impl"}, path);
  StreamerFault fault;
  if (j.contains("lateType"))
    fault.lateType = decodeAs<std::string>(j["lateType"], memberPath(path, "lateType"));
  if (!j.contains("lateType")) throw CaseError(path, "a streamer fault needs its \"lateType\"");
  if (!isStreamerLateType(fault.lateType))
    throw CaseError(memberPath(path, "lateType"),
                    "\"" + fault.lateType + "\" is not the late type of a streamer");
  if (j.contains("nth")) fault.nth = decodeAs<int>(j["nth"], memberPath(path, "nth"));
  if (fault.nth < 1) throw CaseError(memberPath(path, "nth"), "occurrences count from 1");
  if (j.contains("interface"))
    fault.interface = decodeAs<bool>(j["interface"], memberPath(path, "interface"));
  if (j.contains("status")) fault.status = decodeAs<HRESULT>(j["status"], memberPath(path, "status"));
  if (j.contains("impl")) fault.impl = decodeAs<bool>(j["impl"], memberPath(path, "impl"));
  return fault;
}

void addFaults(FaultPlan& plan, const std::string& name, const Json& value, const std::string& path) {
  if (name == "alloc") {
    static const std::pair<const char*, AllocKind> kinds[] = {{"command", AllocKind::Command},
                                                              {"adapter", AllocKind::Adapter},
                                                              {"adapterMeta", AllocKind::AdapterMeta},
                                                              {"service", AllocKind::Service}};
    expectMembers(value, {"command", "adapter", "adapterMeta", "service"}, path);
    for (const auto& [member, kind] : kinds)
      if (value.contains(member))
        plan.alloc[kind] = decodeOccurrences(value[member], memberPath(path, member));
  } else if (name == "streamers") {
    expectArray(value, path);
    for (std::size_t i = 0; i < value.size(); ++i)
      plan.streamers.push_back(decodeStreamerFault(value[i], indexPath(path, i)));
  } else if (name == "setResult") {
    if (!value.is_object()) throw CaseError(path, "expected an object of result keys and statuses");
    for (const auto& [key, status] : value.items())
      plan.setResult[key] = decodeAs<HRESULT>(status, memberPath(path, key));
  } else {
    throw CaseError(path, "unknown fault (expected one of alloc, streamers, setResult)");
  }
}

FaultPlan faultsOf(const Members& members) {
  FaultPlan plan;
  for (const Member& m : members) addFaults(plan, m.name, *m.value, m.path);
  return plan;
}

// What a group hands down to its cases: command, parameters, answers, faults and expectation,
// each member with the place it was written, and whether they ask for a fresh load.
struct Shared {
  std::string command;
  Members params, server, faults, expect;
  bool hasExpect = false;
  bool freshLoad = false;
};

const std::vector<const char*> caseMembers = {"name",   "command", "params",    "server",
                                              "faults", "expect",  "fresh_load"};
const std::vector<const char*> groupMembers = {"name",   "command",    "params", "server",  "faults",
                                               "expect", "fresh_load", "cases",  "columns", "rows"};

// The shared part as a case or group changes it.
Shared narrowed(Shared shared, const Json& j, const std::string& at, Reading& reading) {
  if (j.contains("command")) shared.command = decodeAs<std::string>(j["command"], memberPath(at, "command"));
  auto part = [&](Members& members, const char* name, bool nullRemoves = true) {
    if (j.contains(name)) members = merged(members, j[name], memberPath(at, name), nullRemoves, reading);
  };
  part(shared.params, "params");
  part(shared.server, "server");
  part(shared.faults, "faults");
  part(shared.expect, "expect", false);
  shared.hasExpect = shared.hasExpect || j.contains("expect");
  if (j.contains("fresh_load"))
    shared.freshLoad = decodeAs<bool>(j["fresh_load"], memberPath(at, "fresh_load"));
  return shared;
}

Case makeCase(const std::string& file, const std::string& name, const Shared& shared, Reading& reading) {
  if (shared.command.empty()) throw CaseError("command", "missing: the late type of the command to run");
  Case c;
  c.file = file;
  c.name = name;
  c.command = shared.command;
  c.freshLoad = shared.freshLoad;
  for (const Member& m : shared.params) {
    auto decoded = reading.params.find(m.value);
    if (decoded == reading.params.end())
      decoded = reading.params.emplace(m.value, decodeParam(*m.value, m.path)).first;
    c.params.push_back({m.name, decoded->second});
  }
  for (const Member& m : shared.server) {
    if (reading.checked.insert(m.value).second) ScriptedServer::validateAnswers(m.name, *m.value, m.path);
    c.server[m.name] = *m.value;
  }
  c.faults = faultsOf(shared.faults);
  if (shared.hasExpect) {
    Json expect = Json::object();
    for (const Member& m : shared.expect) {
      if (reading.checked.insert(m.value).second) checkExpectMember(m.name, *m.value, m.path);
      expect[m.name] = *m.value;
    }
    c.expect = std::move(expect);
  }
  return c;
}

std::string nameOf(const Json& j, const std::string& path, const std::string& fallback) {
  if (!j.contains("name")) return fallback;
  return decodeAs<std::string>(j["name"], memberPath(path, "name"));
}

// The cases a table of rows stands for: each row gives, in order, the value of each column, a
// column naming where the value goes ("name", "params.Param4", "expect.status", ...).
std::vector<std::pair<std::string, Json>> rowCases(const Json& group, const std::string& at) {
  std::string columnsAt = memberPath(at, "columns"), rowsAt = memberPath(at, "rows");
  if (!group.contains("columns")) throw CaseError(columnsAt, "missing: the columns the rows give");
  if (!group.contains("rows")) throw CaseError(rowsAt, "missing: one row of values for each case");
  expectArray(group["columns"], columnsAt);
  std::vector<std::vector<std::string>> columns;
  for (std::size_t k = 0; k < group["columns"].size(); ++k) {
    std::string column = decodeAs<std::string>(group["columns"][k], indexPath(columnsAt, k));
    std::vector<std::string> steps;
    for (std::size_t from = 0;;) {
      std::size_t dot = column.find('.', from);
      steps.push_back(column.substr(from, dot - from));
      if (dot == std::string::npos) break;
      from = dot + 1;
    }
    columns.push_back(std::move(steps));
  }
  const Json& rows = group["rows"];
  expectArray(rows, rowsAt);
  if (rows.empty()) throw CaseError(rowsAt, "empty (a table holds at least one row)");
  std::vector<std::pair<std::string, Json>> out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string rowAt = indexPath(rowsAt, i);
    expectArray(rows[i], rowAt);
    if (rows[i].size() != columns.size())
      throw CaseError(rowAt, "expected " + std::to_string(columns.size()) + " values, one for each column");
    Json one = Json::object();
    for (std::size_t k = 0; k < columns.size(); ++k) {
      Json* at = &one;
      for (const std::string& step : columns[k]) at = &(*at)[step];
      *at = rows[i][k];
    }
    out.emplace_back(rowAt, std::move(one));
  }
  return out;
}

// Reads a case, or a group of cases (members "cases" and/or "columns" and "rows"), at `at`.
void readOne(const Json& j, const std::string& at, const std::string& fallbackName, const Shared& outer,
             bool top, const std::string& file, Reading& reading, std::vector<ReadCase>& out) {
  ReadCase read;
  read.name = fallbackName;
  read.grouped = !top;
  try {
    bool group = j.is_object() && (j.contains("cases") || j.contains("rows") || j.contains("columns"));
    expectMembers(j, group || top ? groupMembers : caseMembers, at);
    read.name = nameOf(j, at, fallbackName);
    Shared shared = narrowed(outer, j, at, reading);
    if (!group) {
      read.spec = makeCase(file, read.name, shared, reading);
      out.push_back(std::move(read));
      return;
    }
    if (j.contains("cases")) {
      std::string casesAt = memberPath(at, "cases");
      expectArray(j["cases"], casesAt);
      if (j["cases"].empty()) throw CaseError(casesAt, "empty (a group holds at least one case)");
      for (std::size_t i = 0; i < j["cases"].size(); ++i) {
        std::string one = indexPath(casesAt, i);
        readOne(j["cases"][i], one, one, shared, false, file, reading, out);
      }
    }
    if (j.contains("rows") || j.contains("columns"))
      for (auto& [rowAt, row] : rowCases(j, at))
        readOne(reading.made.emplace_back(std::move(row)), rowAt, rowAt, shared, false, file, reading, out);
  } catch (const CaseError& e) {
    read.error = e.what();
    out.push_back(std::move(read));
  }
}

std::vector<ReadCase> readCases(const Json& root, const std::string& file) {
  std::vector<ReadCase> out;
  Reading reading;
  readOne(root, "", file, Shared{}, true, file, reading, out);
  return out;
}

}  // namespace

FaultPlan decodeFaults(const Json& j, const std::string& path) { return faultsOf(membersOf(j, path)); }

std::vector<ReadCase> readCaseText(const std::string& text, const std::string& file) {
  try {
    return readCases(parseJsonText(text), file);
  } catch (const CaseError& e) {
    return {{file, std::nullopt, e.what()}};
  }
}

std::vector<ReadCase> readCaseFile(const std::string& file) {
  try {
    return readCaseText(readInputFile(file), file);
  } catch (const CaseError& e) {
    return {{file, std::nullopt, e.what()}};
  }
}

}  // namespace oks::host
