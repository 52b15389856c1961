#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>

#include <oks/host/reference/reference_commands.h>
#include <oks/host/reference/script.h>

namespace oks::host {

void addReferenceCommands(CommandLine& commandLine) {
  struct Exec {
    std::string storeFile, lateType;
    std::vector<std::string> params;
    bool json = false;
    std::uint64_t seed = 0;
    CLI::Option* seeded = nullptr;
    std::optional<std::uint64_t> seedGiven() const {
      return seeded->count() ? std::optional(seed) : std::nullopt;
    }
  };
  auto exec = std::make_shared<Exec>();
  CLI::App& execApp = commandLine.add(
      "exec", "run one command against the reference store and print its outcome",
      "exec OKS_getMileStoneValues --store examples/store.json --param 'Param0={\"Node\": "
      "{\"Name\": \"Bike\", \"Type\": \"PRC\"}}' --trace",
      [exec](const HostOptions& options) {
        return execCommand({options.libraryPath, exec->storeFile, options.traceEcho, exec->seedGiven()},
                           exec->lateType, exec->params, exec->json, std::cout, std::cerr);
      });
  execApp.add_option("LATE_TYPE", exec->lateType, "the command's late type")->required();
  execApp.add_option("--param", exec->params, "a parameter, KEY=JSON in the notation of the cases");
  execApp.add_option(
      "--store", exec->storeFile,
      "the database to work on, or a store file (*.json) to start from (default: an empty store)");
  exec->seeded = execApp.add_option("--seed", exec->seed,
                                    "repeatable UUIDs for new objects, from a generator seeded with N");
  execApp.add_flag("--json", exec->json,
                   "print one object: {\"format\": 1, \"command\", \"status\", \"results\", \"trace\", "
                   "\"exception\", \"summary\"}");

  struct Script {
    std::string storeFile, file;
    bool json = false;
    std::uint64_t seed = 0;
    CLI::Option* seeded = nullptr;
    std::optional<std::uint64_t> seedGiven() const {
      return seeded->count() ? std::optional(seed) : std::nullopt;
    }
  };
  auto script = std::make_shared<Script>();
  CLI::App& scriptApp = commandLine.add(
      "script", "run the named steps of a script against the reference store",
      "script examples/configure-product.json --json", [script](const HostOptions& options) {
        return runScript({options.libraryPath, script->storeFile, options.traceEcho, script->seedGiven()},
                         script->file, script->json, std::cout, std::cerr);
      });
  scriptApp.add_option("FILE", script->file, "the script file")->required();
  scriptApp.add_option(
      "--store", script->storeFile,
      "the database to work on, or a store file (*.json) to start from (default: the script's own)");
  script->seeded = scriptApp.add_option("--seed", script->seed,
                                        "repeatable UUIDs for new objects, from a generator seeded with N");
  scriptApp.add_flag("--json", script->json,
                     "print one object: {\"format\": 1, \"script\", \"steps\", \"summary\"} with the step it "
                     "stopped at and the steps not run");
}

}  // namespace oks::host
