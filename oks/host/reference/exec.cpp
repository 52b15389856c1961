#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <oks/api/command.h>
#include <oks/host/command_line.h>
#include <oks/host/reference/exec.h>
#include <oks/host/reference/store_file.h>
#include <oks/platform/trace.h>
#include <oks/reference/reference_server.h>
#include <oks/service/session.h>

namespace oks::host {

Param parseParamArgument(const std::string& text) {
  auto equals = text.find('=');
  if (equals == std::string::npos || equals == 0)
    throw CaseError("--param " + text, "expected KEY=JSON, such as Param0={\"Node\": {\"Name\": \"Bike\"}}");
  std::string key = text.substr(0, equals);
  std::string place = "--param " + key;
  Json value;
  try {
    value = parseJsonText(text.substr(equals + 1));
  } catch (const CaseError& e) {
    throw CaseError(place, e.what());
  }
  return Param{key, decodeParam(value, place)};
}

std::pair<std::string, Json> resultKindAndValue(const Json& value) {
  if (!value.is_object() || value.size() != 1) return {"value", value};
  std::string kind = value.begin().key();
  const Json& inner = value.begin().value();
  if (kind == "streamable" && inner.is_object())
    for (auto it = inner.begin(); it != inner.end(); ++it)
      if (it.key() != "streamer") return {it.key(), it.value()};
  return {kind, inner};
}

CommandRun runCommand(const std::string& lateType, const std::vector<Param>& params,
                      std::ostream* traceEcho) {
  TraceCapture capture;
  ScopedTraceSink sink(&capture);
  auto takeTrace = [&capture, traceEcho] {
    Json lines = Json::array();
    for (const TraceLine& line : capture.take()) {
      if (traceEcho)
        *traceEcho << std::string(2 * static_cast<std::size_t>(line.depth), ' ') << line.text << "\n";
      lines.push_back(line.text);
    }
    return lines;
  };

  CommandRun run;
  std::optional<Command> command;
  try {
    command.emplace(lateType);
  } catch (const CommandError&) {
    takeTrace();
    run.outcome = Json{{"created", false}};
    run.shortResults = Json::object();
    return run;
  }
  for (const Param& param : params) setParam(command->adapter(), command->implementation(), param);
  takeTrace();

  Json status = nullptr, exception = nullptr;
  execute(command->adapter(), status, exception);
  Json trace = takeTrace();
  run.outcome = Json{{"status", status},
                     {"results", readResults(command->implementation())},
                     {"trace", trace},
                     {"exception", exception}};
  {
    CompactRecords compact;
    run.shortResults = readResults(command->implementation());
  }
  command.reset();
  takeTrace();
  return run;
}

bool isStoreFile(const std::string& location) {
  return !Database::onServer(location) && location.size() >= 5 &&
         location.compare(location.size() - 5, 5, ".json") == 0;
}

namespace {

std::unique_ptr<Database> openStore(const std::string& location) {
  if (!location.empty() && !isStoreFile(location)) return Database::open(location, Database::Mode::Open);
  auto database = Database::open("", Database::Mode::Temporary);
  if (!location.empty()) importStoreFile(location, *database);
  return database;
}

}  // namespace

ReferenceSession::ReferenceSession(const std::string& store, std::optional<std::uint64_t> seed)
    : database_(openStore(store)),
      server_(*database_, seed),
      installed_(&server_, ScopedServer::Scope::ThisThread) {}

ReferenceSession::~ReferenceSession() { resetSession(); }

CommandRun ReferenceSession::run(const std::string& lateType, const std::vector<Param>& params,
                                 std::ostream* traceEcho) {
  reference::Store& store = server_.store();
  // The session's own state as the command found it: a command run again starts from it.
  const std::string mask = store.currentMask;
  const std::vector<std::string> environments = store.environments;
  static thread_local std::minstd_rand random{std::random_device{}()};
  for (int retries = 0;; ++retries) {
    std::ostringstream echo;
    auto echoed = [&] {
      if (traceEcho) *traceEcho << echo.str();
    };
    try {
      CommandRun run = runOnce(lateType, params, traceEcho ? &echo : nullptr);
      echoed();
      if (traceEcho && retries > 0)
        *traceEcho << "store: committed after " << retries << (retries == 1 ? " retry" : " retries")
                   << " (the store gave earlier runs up for concurrent transactions)\n";
      run.retries = retries;
      return run;
    } catch (const StoreError& e) {
      if (!e.retryable()) {
        echoed();
        throw;
      }
      if (retries == kMaxRetries) {
        echoed();
        throw StoreError(std::string(e.what()) + "; gave up after " + std::to_string(retries + 1) + " runs");
      }
    } catch (...) {
      echoed();
      throw;
    }
    store.currentMask = mask;
    store.environments = environments;
    // A pause of up to 5 ms, doubling with each retry up to 80 ms, so that the transactions
    // that met do not meet again at once, while one that lost often is not left waiting longest.
    int ceilingUs = 5'000 << std::min(retries, 4);
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, ceilingUs)(random)));
  }
}

CommandRun ReferenceSession::runOnce(const std::string& lateType, const std::vector<Param>& params,
                                     std::ostream* traceEcho) {
  reference::Store& store = server_.store();
  database_->takeFailure();
  store.begin();
  CommandRun run;
  try {
    run = runCommand(lateType, params, traceEcho);
  } catch (...) {
    store.rollback();
    throw;
  }
  if (std::optional<StoreError> failure = database_->takeFailure()) {
    store.rollback();
    throw *failure;
  }
  if (!run.outcome.value("exception", Json()).is_null()) {
    store.rollback();
    return run;
  }
  try {
    store.commit();
  } catch (...) {
    store.rollback();
    throw;
  }
  return run;
}

bool failed(const Json& outcome) {
  const Json& status = outcome.contains("status") ? outcome["status"] : Json();
  return !status.is_number_integer() || status.get<std::int64_t>() < 0;
}

std::string statusText(HRESULT status) {
  char text[64];
  std::snprintf(text, sizeof text, "%d (0x%08X", static_cast<int>(status), static_cast<unsigned>(status));
  std::string name = statusName(status);
  return std::string(text) + (name.empty() ? "" : ", " + name) + ")";
}

std::string resultLine(const std::string& key, const Json& value) {
  auto [kind, inner] = resultKindAndValue(value);
  std::string line = key + " (" + kind + "): ";
  if (!inner.is_string()) return line + inner.dump();
  // A text as it reads, its further lines indented under the first.
  for (char c : inner.get<std::string>()) line += c == '\n' ? std::string("\n    ") : std::string(1, c);
  return line;
}

Json outcomeSummary(const Json& outcome) {
  std::string verdict = outcome.contains("created")       ? "not made"
                        : !outcome["exception"].is_null() ? "exception"
                        : failed(outcome)                 ? "failed"
                                                          : "ok";
  Json summary = {{"outcome", verdict}};
  if (outcome.contains("status") && outcome["status"].is_number_integer())
    summary["statusName"] = statusName(outcome["status"].get<HRESULT>());
  summary["results"] = outcome.contains("results") ? outcome["results"].size() : 0;
  return summary;
}

std::string resultSummary(const Json& value) {
  auto [kind, inner] = resultKindAndValue(value);
  if (inner.is_array()) return kind + "[" + std::to_string(inner.size()) + "]";
  if (inner.is_object()) {
    auto name = inner.find("Name");
    return name != inner.end() && name->is_string() ? kind + " " + name->dump() : kind;
  }
  return inner.dump();
}

int execCommand(const ReferenceOptions& options, const std::string& lateType,
                const std::vector<std::string>& params, bool json, std::ostream& out, std::ostream& err) {
  CommandRun run;
  try {
    std::vector<Param> decoded;
    for (const auto& text : params) decoded.push_back(parseParamArgument(text));
    CommandLibrary library(options.libraryPath);
    if (!findLateType(lateType.c_str()))
      throw std::runtime_error("unknown late type " + lateType + " (okshost list shows the registered ones)");
    ReferenceSession session(options.storeFile, options.seed);
    run = session.run(lateType, decoded, options.traceEcho);
  } catch (const std::exception& e) {
    resetSession();
    err << "okshost: " << e.what() << "\n";
    return exitUnreadable;
  }
  const Json& outcome = run.outcome;
  if (json) {
    Json printed = {{"format", jsonFormat}, {"command", lateType}};
    for (auto it = outcome.begin(); it != outcome.end(); ++it) printed[it.key()] = it.value();
    printed["summary"] = outcomeSummary(outcome);
    out << printed.dump(2) << "\n";
    return failed(outcome) ? exitFailed : exitPassed;
  }
  if (outcome.contains("created")) {
    out << lateType << ": the command could not be made\n";
    return exitFailed;
  }
  if (!outcome["status"].is_null()) out << "status " << statusText(outcome["status"].get<HRESULT>()) << "\n";
  if (!outcome["exception"].is_null()) out << "exception " << outcome["exception"].get<std::string>() << "\n";
  for (auto it = run.shortResults.begin(); it != run.shortResults.end(); ++it)
    out << resultLine(it.key(), it.value()) << "\n";
  return failed(outcome) ? exitFailed : exitPassed;
}

}  // namespace oks::host
