// Running commands against the reference configuration service: one command from the command
// line (okshost exec), and what a script run shares with it (running one command, the status
// and result texts).
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <oks/host/reference/database.h>
#include <oks/host/values.h>
#include <oks/reference/reference_server.h>

namespace oks::host {

struct ReferenceOptions {
  std::string libraryPath;
  // The store: a database (what commands change is kept), or a store file (*.json: loaded into a
  // temporary database, nothing written back); empty: an empty store (exec), the script's own
  // (script).
  std::string storeFile;
  // When set, every trace line is also written here, indented by step depth.
  std::ostream* traceEcho = nullptr;
  // When set, new objects get repeatable UUIDs from a generator seeded with it.
  std::optional<std::uint64_t> seed;
};

// Whether a store location names a store file rather than a database.
bool isStoreFile(const std::string& location);

// One command run: the outcome to match and to print as JSON ({"status", "results", "trace",
// "exception"}, or {"created": false} when the command could not be made), and the results with
// their records written short, for reading.
struct CommandRun {
  Json outcome;
  Json shortResults;
  int retries = 0;  // how often the store gave the command's transaction up before this run committed
};

// Runs a command of the loaded library against the installed server.
CommandRun runCommand(const std::string& lateType, const std::vector<Param>& params, std::ostream* traceEcho);

// The reference service over a store (ReferenceOptions::storeFile) with a connection of its
// own, installed as the server of the thread that makes it while it lives; each command runs as
// one transaction. Sessions on several threads, each made and run on its own thread, run
// commands at once, on one database too.
class ReferenceSession {
 public:
  ReferenceSession(const std::string& store, std::optional<std::uint64_t> seed);
  ~ReferenceSession();
  // Runs the command as one transaction: what it changed is committed whatever status it
  // returns, and rolled back when an exception left it. A store failure rolls back and throws
  // StoreError. When the store gives the transaction up for a concurrent one's sake, the command
  // runs again from the start on a fresh transaction, a bounded number of times after a short
  // random pause; the run that committed is the one answered and its trace the one echoed, with
  // a line telling the retries.
  CommandRun run(const std::string& lateType, const std::vector<Param>& params, std::ostream* traceEcho);
  reference::ReferenceServer& server() { return server_; }

  // Enough that a command contending with several others for the same rows, on a loaded machine,
  // still commits: eight processes updating one specification lost 21 runs in a row.
  static constexpr int kMaxRetries = 100;

 private:
  CommandRun runOnce(const std::string& lateType, const std::vector<Param>& params, std::ostream* traceEcho);

  std::unique_ptr<Database> database_;
  reference::ReferenceServer server_;
  ScopedServer installed_;
};

// Whether the run failed: the command was not made, an exception left it, or its status is
// negative.
bool failed(const Json& outcome);

// The kind and value of a result in the parameter notation; a streamer result by the kind and
// value of what it carries.
std::pair<std::string, Json> resultKindAndValue(const Json& value);

// "0 (0x00000000, S_OK)": the status in decimal, hex and by name.
std::string statusText(HRESULT status);
// A result as "KEY (KIND): VALUE", streamer results by the kind of what they carry.
std::string resultLine(const std::string& key, const Json& value);
// What a run came to, for --json: {"outcome": "ok", "failed", "exception" or "not made",
// "statusName", "results": N}.
Json outcomeSummary(const Json& outcome);
// A result in a few words: "XNodeSeq[2]", "XNode \"City\"", "\"TRUE\"", "1".
std::string resultSummary(const Json& value);

// A "--param KEY=JSON" argument: the key and its value in the parameter notation; throws
// CaseError naming the argument.
Param parseParamArgument(const std::string& text);

// okshost exec LATE_TYPE [--param KEY=JSON]...: runs one command against the store and prints
// its status, results (texts as they read) and, with a trace echo, its trace; with json, one
// object: {"format": 1, "command", "status", "results", "trace", "exception", "summary"}.
// Returns 0 when the command succeeded, 1 when it failed, 2 for bad input (an unknown late
// type, a malformed parameter, a bad store).
int execCommand(const ReferenceOptions& options, const std::string& lateType,
                const std::vector<std::string>& params, bool json, std::ostream& out, std::ostream& err);

}  // namespace oks::host
