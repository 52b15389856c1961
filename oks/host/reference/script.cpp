#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <variant>

#include <oks/api/library.h>
#include <oks/host/cases/matcher.h>
#include <oks/host/command_line.h>
#include <oks/host/reference/script.h>
#include <oks/host/reference/store_file.h>
#include <oks/reference/reference_server.h>
#include <oks/service/session.h>

namespace oks::host {
namespace {

struct Step {
  std::string path;  // "steps[3]"
  std::string name;
  std::string command;
  Json params = Json::object();
  std::map<std::string, Param> ready;  // parameters that take no earlier result, decoded
  bool mayFail = false;
  std::optional<Json> expect;
};

struct Script {
  std::string store;
  std::vector<Step> steps;
};

// {"from": "STEP.KEY[.Member][[i]]..."}: a step, a result key and a path into the result.
struct Reference {
  std::string step;
  std::string key;
  std::vector<std::variant<std::string, std::size_t>> path;
};

bool isReference(const Json& j) {
  return j.is_object() && j.contains("from") && (j.size() == 1 || (j.size() == 2 && j.contains("as")));
}

Reference parseReference(const Json& from, const std::string& path) {
  std::string text = decodeAs<std::string>(from, path);
  auto wrong = [&path, &text](const std::string& what) {
    return CaseError(path, "\"" + text + "\": " + what + " (expected STEP.KEY, then .Member or [i] parts)");
  };
  auto dot = text.find('.');
  if (dot == std::string::npos || dot == 0) throw wrong("no step");
  Reference r{text.substr(0, dot), "", {}};
  std::size_t at = text.find_first_of(".[", dot + 1);
  r.key = text.substr(dot + 1, at == std::string::npos ? std::string::npos : at - dot - 1);
  if (r.key.empty()) throw wrong("no result key");
  while (at != std::string::npos && at < text.size()) {
    if (text[at] == '.') {
      std::size_t end = text.find_first_of(".[", at + 1);
      std::string member = text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
      if (member.empty()) throw wrong("an empty member name");
      r.path.emplace_back(member);
      at = end;
    } else {
      std::size_t close = text.find(']', at);
      std::string digits = close == std::string::npos ? "" : text.substr(at + 1, close - at - 1);
      if (digits.empty() ||
          !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }) ||
          digits.size() > 9)
        throw wrong("an index that is not a number");
      r.path.emplace_back(static_cast<std::size_t>(std::stoul(digits)));
      at = close + 1;
    }
  }
  return r;
}

bool hasReference(const Json& j) {
  if (isReference(j)) return true;
  if (j.is_structured())
    for (const auto& item : j)
      if (hasReference(item)) return true;
  return false;
}

// Checks every reference of a parameter: it names an earlier step, and "as" is given exactly
// for a part of a result standing for a whole parameter.
void checkReferences(const Json& j, const std::string& path, const std::set<std::string>& earlier,
                     bool whole) {
  if (isReference(j)) {
    std::string fromPath = memberPath(path, "from");
    Reference r = parseReference(j["from"], fromPath);
    if (!earlier.count(r.step)) throw CaseError(fromPath, "no earlier step is named \"" + r.step + "\"");
    bool hasAs = j.contains("as");
    if (hasAs) decodeAs<std::string>(j["as"], memberPath(path, "as"));
    if (hasAs && !whole)
      throw CaseError(memberPath(path, "as"), "\"as\" names the kind of a whole parameter");
    if (hasAs && r.path.empty()) throw CaseError(memberPath(path, "as"), "a whole result keeps its own kind");
    if (whole && !hasAs && !r.path.empty())
      throw CaseError(path, "a part of a result names its kind with \"as\"");
    return;
  }
  if (j.is_object())
    for (auto it = j.begin(); it != j.end(); ++it)
      checkReferences(it.value(), memberPath(path, it.key()), earlier, false);
  if (j.is_array())
    for (std::size_t i = 0; i < j.size(); ++i) checkReferences(j[i], indexPath(path, i), earlier, false);
}

Script readScript(const Json& j) {
  if (!j.is_object()) throw CaseError("", "a script is an object with its \"steps\"");
  expectMembers(j, {"description", "store", "steps"}, "");
  Script script;
  if (j.contains("store")) script.store = decodeAs<std::string>(j["store"], "store");
  if (!j.contains("steps")) throw CaseError("", "a script needs its \"steps\"");
  expectArray(j["steps"], "steps");
  if (j["steps"].empty()) throw CaseError("steps", "empty (a script runs at least one step)");
  std::set<std::string> earlier;
  for (std::size_t i = 0; i < j["steps"].size(); ++i) {
    const Json& s = j["steps"][i];
    Step step;
    step.path = indexPath("steps", i);
    if (!s.is_object()) throw CaseError(step.path, "expected an object");
    expectMembers(s, {"name", "note", "command", "params", "mayFail", "expect"}, step.path);
    for (const char* required : {"name", "command"})
      if (!s.contains(required))
        throw CaseError(step.path, std::string("a step needs its \"") + required + "\"");
    step.name = decodeAs<std::string>(s["name"], memberPath(step.path, "name"));
    if (step.name.empty() || step.name.find_first_of(".[") != std::string::npos)
      throw CaseError(memberPath(step.path, "name"), "a step name is not empty and holds no '.' or '['");
    if (earlier.count(step.name))
      throw CaseError(memberPath(step.path, "name"), "\"" + step.name + "\" names an earlier step too");
    step.command = decodeAs<std::string>(s["command"], memberPath(step.path, "command"));
    if (s.contains("params")) {
      step.params = s["params"];
      if (!step.params.is_object())
        throw CaseError(memberPath(step.path, "params"), "expected an object of keys");
      for (auto it = step.params.begin(); it != step.params.end(); ++it) {
        std::string path = memberPath(memberPath(step.path, "params"), it.key());
        checkReferences(it.value(), path, earlier, true);
        if (!hasReference(it.value()))
          step.ready.emplace(it.key(), Param{it.key(), decodeParam(it.value(), path)});
      }
    }
    if (s.contains("mayFail")) step.mayFail = decodeAs<bool>(s["mayFail"], memberPath(step.path, "mayFail"));
    if (s.contains("expect")) {
      checkExpect(s["expect"], memberPath(step.path, "expect"));
      step.expect = s["expect"];
    }
    earlier.insert(step.name);
    script.steps.push_back(std::move(step));
  }
  return script;
}

// A result as a parameter: a streamer result becomes the streamable it carries.
Json asParameter(const Json& result) {
  Json param = result;
  if (param.contains("streamable") && param["streamable"].is_object()) param["streamable"].erase("streamer");
  return param;
}

// The parameter with every reference replaced by the earlier result it names.
Json resolve(const Json& j, const std::string& path, const std::map<std::string, Json>& results, bool whole) {
  if (isReference(j)) {
    Reference r = parseReference(j["from"], memberPath(path, "from"));
    const Json& stepResults = results.at(r.step);
    if (!stepResults.contains(r.key)) throw CaseError(path, "step \"" + r.step + "\" set no result " + r.key);
    Json param = asParameter(stepResults[r.key]);
    if (whole && r.path.empty()) return param;
    Json value = resultKindAndValue(param).second;
    std::string walked = r.key;
    for (const auto& part : r.path) {
      bool found = false;
      if (const auto* member = std::get_if<std::string>(&part)) {
        walked += "." + *member;
        found = value.is_object() && value.contains(*member);
        if (found) value = Json(value[*member]);
      } else {
        std::size_t i = std::get<std::size_t>(part);
        // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict on "[" + std::string.
        walked.append("[").append(std::to_string(i)).append("]");
        found = value.is_array() && i < value.size();
        if (found) value = Json(value[i]);
      }
      if (!found) throw CaseError(path, "the result of step \"" + r.step + "\" has no " + walked);
    }
    return whole ? Json{{j["as"].get<std::string>(), value}} : value;
  }
  Json out = j;
  if (j.is_object())
    for (auto it = out.begin(); it != out.end(); ++it)
      it.value() = resolve(it.value(), memberPath(path, it.key()), results, false);
  if (j.is_array())
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = resolve(out[i], indexPath(path, i), results, false);
  return out;
}

std::vector<Param> stepParams(const Step& step, const std::map<std::string, Json>& results) {
  std::vector<Param> params;
  for (auto it = step.params.begin(); it != step.params.end(); ++it) {
    if (auto ready = step.ready.find(it.key()); ready != step.ready.end()) {
      params.push_back(ready->second);
      continue;
    }
    std::string path = memberPath(memberPath(step.path, "params"), it.key());
    params.push_back(Param{it.key(), decodeParam(resolve(it.value(), path, results, true), path)});
  }
  return params;
}

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// "0 S_OK", "-2147467259 E_FAIL", or what happened instead of a status.
std::string shortStatus(const Json& outcome) {
  if (outcome.contains("created")) return "not made";
  if (!outcome["exception"].is_null()) return "exception: " + outcome["exception"].get<std::string>();
  HRESULT status = outcome["status"].get<HRESULT>();
  std::string name = statusName(status);
  return std::to_string(status) + (name.empty() ? "" : " " + name);
}

}  // namespace

void checkScript(const Json& j) { readScript(j); }

int runScript(const ReferenceOptions& options, const std::string& file, bool json, std::ostream& out,
              std::ostream& err) {
  try {
    Script script;
    try {
      script = readScript(readJsonFile(file));
    } catch (const CaseError& e) {
      throw std::runtime_error(file + ": " + e.what());
    }
    std::string storeFile = options.storeFile;
    if (storeFile.empty() && !script.store.empty())
      storeFile = Database::onServer(script.store)
                      ? script.store
                      : (std::filesystem::path(file).parent_path() / script.store).string();

    CommandLibrary library(options.libraryPath);
    std::size_t nameWidth = 0, commandWidth = 0;
    for (const Step& step : script.steps) {
      if (!findLateType(step.command.c_str()))
        throw std::runtime_error(file + ": " + memberPath(step.path, "command") + ": unknown late type " +
                                 step.command);
      nameWidth = std::max(nameWidth, step.name.size());
      commandWidth = std::max(commandWidth, step.command.size());
    }
    ReferenceSession session(storeFile, options.seed);

    std::map<std::string, Json> results;
    Json outcomes = Json::array();
    std::map<std::string, int> tally;
    std::string stoppedAt;
    for (const Step& step : script.steps) {
      std::vector<Param> params;
      try {
        params = stepParams(step, results);
      } catch (const CaseError& e) {
        throw std::runtime_error(file + ": " + e.what());
      }
      if (options.traceEcho) *options.traceEcho << "[" << step.name << "]\n";
      CommandRun run = session.run(step.command, params, options.traceEcho);
      const Json& outcome = run.outcome;
      results[step.name] = outcome.contains("results") ? outcome["results"] : Json::object();

      auto differences = step.expect ? matchOutcome(*step.expect, outcome) : std::vector<Difference>{};
      bool expectsStatus = step.expect && step.expect->contains("status");
      std::string verdict = !differences.empty() ? "differs"
                            : !failed(outcome)   ? "ok"
                            : step.mayFail       ? "failed (allowed)"
                            : expectsStatus      ? "failed (expected)"
                                                 : "failed";
      ++tally[verdict];
      if (json) {
        Json entry = Json{{"name", step.name}, {"command", step.command}, {"verdict", verdict}};
        for (auto it = outcome.begin(); it != outcome.end(); ++it)
          entry[it.key()] = it.key() == "results" ? run.shortResults : it.value();
        entry["statusName"] = outcomeSummary(outcome).value("statusName", "");
        outcomes.push_back(entry);
      } else {
        std::string line = padded(verdict, 18) + padded(step.name, nameWidth + 2) +
                           padded(step.command, commandWidth + 2) + shortStatus(outcome);
        for (auto it = run.shortResults.begin(); it != run.shortResults.end(); ++it)
          line += "  " + it.key() + "=" + resultSummary(it.value());
        out << line << "\n";
        printDifferences(out, differences);
      }
      if (verdict == "differs" || verdict == "failed") {
        stoppedAt = step.name;
        break;
      }
    }
    resetSession();
    std::size_t run = 0;
    std::string counts;
    Json verdicts = Json::object();
    for (const char* verdict : {"ok", "failed (allowed)", "failed (expected)", "failed", "differs"})
      if (int n = tally[verdict]) {
        run += static_cast<std::size_t>(n);
        counts += (counts.empty() ? "" : ", ") + std::to_string(n) + " " + verdict;
        verdicts[verdict] = n;
      }
    if (json) {
      Json notRun = Json::array();
      for (std::size_t i = run; i < script.steps.size(); ++i) notRun.push_back(script.steps[i].name);
      Json summary = {{"outcome", stoppedAt.empty() ? "ok" : "stopped"},
                      {"steps", script.steps.size()},
                      {"run", run},
                      {"verdicts", verdicts},
                      {"stoppedAt", stoppedAt.empty() ? Json(nullptr) : Json(stoppedAt)},
                      {"notRun", notRun}};
      out << Json{{"format", jsonFormat}, {"script", file}, {"steps", outcomes}, {"summary", summary}}.dump(2)
          << "\n";
    } else {
      out << run << " of " << script.steps.size() << " steps run: " << counts;
      if (!stoppedAt.empty()) out << "; stopped at \"" << stoppedAt << "\"";
      out << "\n";
    }
    return stoppedAt.empty() ? exitPassed : exitFailed;
  } catch (const std::exception& e) {
    resetSession();
    err << "okshost: " << e.what() << "\n";
    return exitUnreadable;
  }
}

}  // namespace oks::host
