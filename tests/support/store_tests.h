// What the tests of the reference store share: okshost run as a user runs it, files of their own,
// and a fixture that makes fresh stores of each engine (SQLite files, PostgreSQL databases).
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/postgresql.h"

namespace oks::test {

inline const std::string kStoreFile = std::string(OKS_SOURCE_DIR) + "/examples/store.json";

// A new path in a folder of this process's own, removed when it ends: other test programs, of
// other trees too, may run the same tests at the same time. The folder is open to every user, as
// /tmp is, for the tests that run okshost as another one.
inline std::string scratchFile(const std::string& name) {
  static const struct Folder {
    std::string path = testing::TempDir() + "oks-store-XXXXXX";
    Folder() {
      if (!mkdtemp(path.data())) throw std::runtime_error("cannot make a folder under " + testing::TempDir());
      ::chmod(path.c_str(), 01777);
    }
    ~Folder() { std::filesystem::remove_all(path); }
  } folder;
  static std::atomic<int> files{0};
  return folder.path + "/" + std::to_string(++files) + "-" + name;
}

inline std::string contents(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Starts okshost with the arguments, its standard output and error both to the file `output`;
// `prefix` is a program that runs it (e.g. as another user).
inline pid_t startOkshost(const std::vector<std::string>& arguments, const std::string& output = "/dev/null",
                          std::vector<std::string> prefix = {}) {
  prefix.insert(prefix.end(), {OKS_HOST_PATH, "--library", OKS_LIBRARY_PATH});
  prefix.insert(prefix.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : prefix) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(out, 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

// The exit code of a process started, -1 when a signal ended it.
inline int waitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct HostRun {
  int exit;
  std::string out;  // standard output and error
};

inline HostRun okshost(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& prefix = {}) {
  std::string output = scratchFile("okshost.out");
  int exit = waitFor(startOkshost(arguments, output, prefix));
  return {exit, contents(output)};
}

// The engines a suite runs over, one row each, named after the engine:
//   INSTANTIATE_TEST_SUITE_P(Engines, Suite, kEngines, engineName);
enum class Engine { SQLite, PostgreSQL };
inline const auto kEngines = testing::Values(Engine::SQLite, Engine::PostgreSQL);
inline void PrintTo(Engine engine, std::ostream* out) {
  *out << (engine == Engine::SQLite ? "SQLite" : "PostgreSQL");
}
inline std::string engineName(const testing::TestParamInfo<Engine>& info) {
  return testing::PrintToString(info.param);
}

class StoreTest : public testing::TestWithParam<Engine> {
 protected:
  bool onServer() const { return GetParam() == Engine::PostgreSQL; }

  // Where a new store goes: an empty database on the tests' server (dropped with the test), or a
  // file that is not there.
  std::string freshLocation() {
    if (onServer()) return databases_.emplace_back(std::make_unique<PostgreSQLDatabase>())->uri();
    return scratchFile("store.db");
  }

  // A new store holding examples/store.json.
  std::string initFromExample() {
    std::string location = freshLocation();
    HostRun init = okshost({"store", "init", location, "--from", kStoreFile});
    EXPECT_EQ(init.exit, 0) << init.out;
    return location;
  }

  std::vector<std::unique_ptr<PostgreSQLDatabase>> databases_;
};

}  // namespace oks::test
