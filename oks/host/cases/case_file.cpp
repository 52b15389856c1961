#include <algorithm>

#include <oks/host/cases/case_file.h>
#include <oks/host/cases/matcher.h>
#include <oks/host/cases/scripted_server.h>

namespace oks::host {
namespace {

// The members of a params, server or faults object after grouping, each with the path it was
// written at.
struct Member {
  std::string name;
  Json value;
  std::string path;
};
using Members = std::vector<Member>;

Members membersOf(const Json& j, const std::string& path) {
  Members out;
  if (j.is_null()) return out;
  if (!j.is_object()) throw CaseError(path, "expected an object");
  for (const auto& [name, value] : j.items()) out.push_back({name, value, memberPath(path, name)});
  return out;
}

// The shared members replaced member by member by the case's; null removes a member.
Members merged(Members shared, const Json& own, const std::string& path) {
  for (const Member& m : membersOf(own, path)) {
    auto it = std::find_if(shared.begin(), shared.end(), [&](const Member& s) { return s.name == m.name; });
    if (m.value.is_null()) {
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

void addFaults(FaultPlan& plan, const Member& m) {
  if (m.name == "alloc") {
    static const std::pair<const char*, AllocKind> kinds[] = {{"command", AllocKind::Command},
                                                              {"adapter", AllocKind::Adapter},
                                                              {"adapterMeta", AllocKind::AdapterMeta},
                                                              {"service", AllocKind::Service}};
    expectMembers(m.value, {"command", "adapter", "adapterMeta", "service"}, m.path);
    for (const auto& [name, kind] : kinds)
      if (m.value.contains(name))
        plan.alloc[kind] = decodeOccurrences(m.value[name], memberPath(m.path, name));
  } else if (m.name == "streamers") {
    expectArray(m.value, m.path);
    for (std::size_t i = 0; i < m.value.size(); ++i)
      plan.streamers.push_back(decodeStreamerFault(m.value[i], indexPath(m.path, i)));
  } else if (m.name == "setResult") {
    if (!m.value.is_object()) throw CaseError(m.path, "expected an object of result keys and statuses");
    for (const auto& [key, status] : m.value.items())
      plan.setResult[key] = decodeAs<HRESULT>(status, memberPath(m.path, key));
  } else {
    throw CaseError(m.path, "unknown fault (expected one of alloc, streamers, setResult)");
  }
}

FaultPlan faultsOf(const Members& members) {
  FaultPlan plan;
  for (const Member& m : members) addFaults(plan, m);
  return plan;
}

const char* const fileMembers[] = {"name", "command", "params", "server", "faults", "expect", "cases"};
const char* const groupedMembers[] = {"name", "command", "params", "server", "faults", "expect"};

// The shared part of a file (or the whole of a single case).
struct Shared {
  std::string command;
  Members params, server, faults;
};

Case makeCase(const std::string& file, const std::string& name, const std::string& command,
              const Members& params, const Members& server, const Members& faults, const Json* expect,
              const std::string& expectPath) {
  Case c;
  c.file = file;
  c.name = name;
  c.command = command;
  for (const Member& m : params) c.params.push_back({m.name, decodeParam(m.value, m.path)});
  for (const Member& m : server) {
    ScriptedServer::validateAnswers(m.name, m.value, m.path);
    c.server[m.name] = m.value;
  }
  c.faults = faultsOf(faults);
  if (expect) {
    checkExpect(*expect, expectPath);
    c.expect = *expect;
  }
  return c;
}

std::string nameOf(const Json& j, const std::string& path, const std::string& fallback) {
  if (!j.contains("name")) return fallback;
  return decodeAs<std::string>(j["name"], memberPath(path, "name"));
}

std::vector<ReadCase> readCases(const Json& root, const std::string& file) {
  std::vector<const char*> members(std::begin(fileMembers), std::end(fileMembers));
  expectMembers(root, members, "");
  std::string fileName = nameOf(root, "", file);
  std::string command = root.contains("command") ? decodeAs<std::string>(root["command"], "command") : "";
  auto part = [&](const char* name) { return root.contains(name) ? membersOf(root[name], name) : Members{}; };
  Members params = part("params"), server = part("server"), faults = part("faults");

  if (!root.contains("cases")) {
    if (command.empty()) throw CaseError("command", "missing: the late type of the command to run");
    const Json* expect = root.contains("expect") ? &root["expect"] : nullptr;
    return {{fileName, makeCase(file, fileName, command, params, server, faults, expect, "expect"), ""}};
  }

  const Json& cases = root["cases"];
  expectArray(cases, "cases");
  if (cases.empty()) throw CaseError("cases", "empty (a group holds at least one case)");
  std::vector<ReadCase> out;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::string at = indexPath("cases", i);
    ReadCase read;
    read.name = at;
    read.grouped = true;
    try {
      const Json& one = cases[i];
      std::vector<const char*> allowed(std::begin(groupedMembers), std::end(groupedMembers));
      expectMembers(one, allowed, at);
      read.name = nameOf(one, at, at);
      std::string own = one.contains("command")
                            ? decodeAs<std::string>(one["command"], memberPath(at, "command"))
                            : command;
      if (own.empty()) throw CaseError("command", "missing: the late type of the command to run");
      auto mergedPart = [&](const Members& shared, const char* name) {
        return one.contains(name) ? merged(shared, one[name], memberPath(at, name)) : shared;
      };
      const Json* expect = one.contains("expect") ? &one["expect"] : nullptr;
      read.spec = makeCase(file, read.name, own, mergedPart(params, "params"), mergedPart(server, "server"),
                           mergedPart(faults, "faults"), expect, memberPath(at, "expect"));
    } catch (const CaseError& e) {
      read.error = e.what();
    }
    out.push_back(std::move(read));
  }
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
