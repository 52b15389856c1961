#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include <oks/api/library.h>
#include <oks/host/codec.h>
#include <oks/host/command_line.h>

namespace oks::host {

struct CommandLine::Parts {
  struct SubCommand {
    CLI::App* app;
    Run run;
    bool loadsLibraryItself;
  };

  CLI::App app{"okshost: loads the configuration command library and runs its commands"};
  std::string libraryPath = CommandLibrary::defaultPath();
  bool trace = false;
  std::vector<SubCommand> subCommands;

  // "list, run or case": the sub-commands in the order they were added.
  std::string names() const {
    std::string text;
    for (std::size_t i = 0; i < subCommands.size(); ++i)
      text += (i == 0 ? "" : i + 1 == subCommands.size() ? " or " : ", ") + subCommands[i].app->get_name();
    return text;
  }
};

namespace {

constexpr const char* libraryHelp =
    "the command library to load (default: $OKS_COMMAND_LIBRARY, else the one installed or built beside "
    "okshost's libraries)";
constexpr const char* traceHelp =
    "print every command's trace lines to standard error, indented by step depth";

}  // namespace

CommandLine::CommandLine() : parts_(std::make_unique<Parts>()) {
  CLI::App& app = parts_->app;
  app.require_subcommand(1);
  app.fallthrough();
  app.set_version_flag("--version", "okshost " OKS_VERSION);
  app.add_option("--library", parts_->libraryPath, libraryHelp)->capture_default_str();
  app.add_flag("--trace", parts_->trace, traceHelp);
}

CommandLine::~CommandLine() = default;

CLI::App& CommandLine::add(const std::string& name, const std::string& description,
                           const std::string& example, Run run, bool loadsLibraryItself) {
  CLI::App* app = parts_->app.add_subcommand(name, description);
  app->footer(std::string("Global options (before or after the sub-command):\n") + "  --library PATH   " +
              libraryHelp + "\n  --trace          " + traceHelp + "\n\nExample:\n  okshost " + example +
              "\n");
  parts_->subCommands.push_back({app, std::move(run), loadsLibraryItself});
  return *app;
}

int CommandLine::run(int argc, char** argv) {
  CLI::App& app = parts_->app;
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    if (app.get_subcommands().empty() && !app.remaining().empty())
      std::cerr << "okshost: unknown sub-command '" << app.remaining().front() << "' (expected "
                << parts_->names() << ")\n";
    else
      std::cerr << "okshost: " << e.what() << " (see --help)\n";
    return exitUnreadable;
  }

  HostOptions options{parts_->libraryPath, parts_->trace ? &std::cerr : nullptr};
  try {
    for (const auto& sub : parts_->subCommands) {
      if (!sub.app->parsed()) continue;
      if (!sub.loadsLibraryItself) {
        CommandLibrary check(options.libraryPath);
      }
      return sub.run(options);
    }
  } catch (const std::exception& e) {
    std::cerr << "okshost: " << e.what() << "\n";
    return exitUnreadable;
  }
  return exitPassed;
}

void addListCommand(CommandLine& commandLine) {
  auto json = std::make_shared<bool>(false);
  commandLine
      .add(
          "list", "print the registered late types with their class names", "list --json",
          [json](const HostOptions& options) {
            CommandLibrary library(options.libraryPath);
            auto types = CommandLibrary::commands();
            if (*json) {
              Json list = Json::array();
              for (const auto& type : types)
                list.push_back({{"lateType", type.lateType}, {"class", type.className}});
              Json out = {
                  {"format", jsonFormat}, {"lateTypes", list}, {"summary", {{"lateTypes", types.size()}}}};
              std::cout << out.dump(2) << "\n";
              return exitPassed;
            }
            std::size_t width = 0;
            for (const auto& type : types) width = std::max(width, type.lateType.size());
            for (const auto& type : types)
              std::printf("%-*s  %s\n", static_cast<int>(width), type.lateType.c_str(),
                          type.className.c_str());
            return exitPassed;
          },
          true)
      .add_flag("--json", *json,
                "print {\"format\": 1, \"lateTypes\": [{\"lateType\", \"class\"}], \"summary\"}");
}

}  // namespace oks::host
