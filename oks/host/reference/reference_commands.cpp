#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include <oks/host/reference/reference_commands.h>
#include <oks/host/reference/script.h>

namespace oks::host {

void addReferenceCommands(CommandLine& commandLine) {
  struct Exec {
    std::string storeFile, lateType;
    std::vector<std::string> params;
    bool json = false;
  };
  auto exec = std::make_shared<Exec>();
  CLI::App& execApp =
      commandLine.add("exec", "run one command against the reference store and print its outcome",
                      "exec OKS_getMileStoneValues --store examples/store.json --param 'Param0={\"Node\": "
                      "{\"Name\": \"Bike\", "
                      "\"Type\": \"PRC\"}}' --trace",
                      [exec](const HostOptions& options) {
                        return execCommand({options.libraryPath, exec->storeFile, options.traceEcho},
                                           exec->lateType, exec->params, exec->json, std::cout, std::cerr);
                      });
  execApp.add_option("LATE_TYPE", exec->lateType, "the command's late type")->required();
  execApp.add_option("--param", exec->params, "a parameter, KEY=JSON in the notation of the cases");
  execApp.add_option("--store", exec->storeFile, "the store file to start from (default: an empty store)");
  execApp.add_flag("--json", exec->json,
                   "print one object: {\"format\": 1, \"command\", \"status\", \"results\", \"trace\", "
                   "\"exception\", \"summary\"}");

  struct Script {
    std::string storeFile, file;
    bool json = false;
  };
  auto script = std::make_shared<Script>();
  CLI::App& scriptApp =
      commandLine.add("script", "run the named steps of a script against the reference store",
                      "script examples/configure-product.json --json", [script](const HostOptions& options) {
                        return runScript({options.libraryPath, script->storeFile, options.traceEcho},
                                         script->file, script->json, std::cout, std::cerr);
                      });
  scriptApp.add_option("FILE", script->file, "the script file")->required();
  scriptApp.add_option("--store", script->storeFile,
                       "the store file to start from (default: the script's own)");
  scriptApp.add_flag("--json", script->json,
                     "print one object: {\"format\": 1, \"script\", \"steps\", \"summary\"} with the step it "
                     "stopped at and the steps not run");
}

}  // namespace oks::host
