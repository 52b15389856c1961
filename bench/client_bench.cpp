// Concurrent clients of one reference store: commands per second with 1, 4 and 8 client
// processes, each with its own connection, on SQLite and on PostgreSQL, printed as one table.
//
//   oks_client_bench [--seconds S] [--postgresql URI]
//
// Every client runs the same mix of commands for S seconds (default 5), one transaction each:
// three reads (a specification, the handlers of the root class, its milestones) and one write
// (a change object of a name of its own under the root class). Each row starts from a fresh store
// made from examples/store.json: a SQLite file in a temporary folder, or the store's tables in
// the PostgreSQL database of the URI (replaced). bench/concurrent-clients.sh starts a throw-away
// server and runs this. Not run by the tests.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <oks/api/library.h>
#include <oks/host/reference/database.h>
#include <oks/host/reference/exec.h>
#include <oks/host/reference/store_file.h>

namespace {

using oks::host::Database;
using Clock = std::chrono::steady_clock;

// What one client did: commands committed, how many of them answered a failure status, and
// commands the store refused (a lock held past the busy timeout, a transaction given up too
// often); commands -1 when the client could not run at all.
struct Tally {
  long commands = 0;
  long failed = 0;
  long refused = 0;
};

// The mix one client runs, in turn: three reads and one write. The reads' parameters are the
// same every round; the write's (mixWrite) names the round's own change object.
std::vector<std::vector<oks::host::Param>> mix() {
  using oks::host::parseParamArgument;
  return {
      {parseParamArgument(R"(Param0={"XNode": {"Nodes": [{"UUID": "40000000000000000000000000000001"}]}})")},
      {parseParamArgument(R"(Param0={"XNodeSeq": [{"Nodes": [{"Name": "Bike", "Type": "PRC"}]}]})")},
      {parseParamArgument(R"(Param0={"Node": {"Name": "Bike", "Type": "PRC"}})")},
      {},
  };
}
std::vector<oks::host::Param> mixWrite(int client, long n) {
  std::string name = "C" + std::to_string(client) + "-" + std::to_string(n);
  return {oks::host::parseParamArgument("Param0={\"XNodeSeq\": [{\"Name\": \"" + name +
                                        "\", \"Nodes\": [{\"Name\": \"Bike\", \"Type\": \"PRC\"}]}]}")};
}
const char* const kMixCommands[] = {"OKS_getProdSpec", "OKS_getCHList", "OKS_getMileStoneValues",
                                    "OKS_addCO"};

// One client process: loads the command library, opens the store, says it is ready, waits for
// the start, runs the mix until its time is up and writes its tally to `results`.
[[noreturn]] void client(int id, const std::string& store, double seconds, int ready, int start,
                         int results) {
  Tally tally;
  try {
    oks::CommandLibrary library(OKS_LIBRARY_PATH);
    oks::host::ReferenceSession session(store, std::nullopt);
    char byte = 0;
    if (write(ready, &byte, 1) != 1 || read(start, &byte, 1) != 1) _exit(3);
    auto params = mix();
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (long n = 0; Clock::now() < end; ++n) {
      params.back() = mixWrite(id, n);
      for (std::size_t i = 0; i < params.size(); ++i) try {
          if (oks::host::failed(session.run(kMixCommands[i], params[i], nullptr).outcome)) ++tally.failed;
          ++tally.commands;
        } catch (const oks::host::StoreError& e) {
          if (tally.refused++ == 0) std::fprintf(stderr, "client %d: %s\n", id, e.what());
        }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "client %d: %s\n", id, e.what());
    tally.commands = -1;
  }
  if (write(results, &tally, sizeof tally) != sizeof tally) _exit(3);
  _exit(0);
}

// Starts the clients together on a fresh store and answers the commands per second of all.
struct Row {
  long commands = 0, failed = 0, refused = 0;
  double seconds = 0;
};
Row measure(const std::string& store, int clients, double seconds) {
  oks::host::importStoreFile(std::string(OKS_SOURCE_DIR) + "/examples/store.json",
                             *Database::open(store, Database::Mode::Replace));
  int ready[2], start[2], results[2];
  if (pipe(ready) || pipe(start) || pipe(results)) throw std::runtime_error("pipe");
  std::vector<pid_t> pids;
  for (int c = 0; c < clients; ++c) {
    pid_t pid = fork();
    if (pid == 0) client(c, store, seconds, ready[1], start[0], results[1]);
    pids.push_back(pid);
  }
  char byte = 0;
  for (int c = 0; c < clients; ++c)
    if (read(ready[0], &byte, 1) != 1) throw std::runtime_error("a client did not start");
  auto begun = Clock::now();
  for (int c = 0; c < clients; ++c)
    if (write(start[1], &byte, 1) != 1) throw std::runtime_error("pipe");
  Row row;
  bool whole = true;
  for (int c = 0; c < clients; ++c) {
    Tally tally;
    whole = read(results[0], &tally, sizeof tally) == sizeof tally && tally.commands >= 0 && whole;
    row.commands += tally.commands;
    row.failed += tally.failed;
    row.refused += tally.refused;
  }
  row.seconds = std::chrono::duration<double>(Clock::now() - begun).count();
  for (pid_t pid : pids) waitpid(pid, nullptr, 0);
  for (int fd : {ready[0], ready[1], start[0], start[1], results[0], results[1]}) close(fd);
  if (!whole) throw std::runtime_error("a client could not run (its message is above)");
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 5;
  std::string postgresql;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--seconds"))
      seconds = std::stod(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--postgresql"))
      postgresql = argv[i + 1];
  }
  std::string folder =
      std::filesystem::temp_directory_path() / ("oks_client_bench." + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::vector<std::pair<std::string, std::string>> engines{{"SQLite", folder + "/store.db"}};
  if (!postgresql.empty()) engines.emplace_back("PostgreSQL", postgresql);

  std::printf("%-11s %8s %10s %12s %12s %8s %8s\n", "engine", "clients", "commands", "commands/s",
              "per client", "failed", "refused");
  for (const auto& [engine, store] : engines)
    for (int clients : {1, 4, 8}) {
      try {
        Row row = measure(store, clients, seconds);
        std::printf("%-11s %8d %10ld %12.0f %12.0f %8ld %8ld\n", engine.c_str(), clients, row.commands,
                    row.commands / row.seconds, row.commands / row.seconds / clients, row.failed,
                    row.refused);
      } catch (const std::exception& e) {
        std::printf("%-11s %8d  %s\n", engine.c_str(), clients, e.what());
      }
      std::fflush(stdout);
    }
  std::filesystem::remove_all(folder);
  if (postgresql.empty()) std::printf("(no --postgresql URI: bench/concurrent-clients.sh starts a server)\n");
  return 0;
}
