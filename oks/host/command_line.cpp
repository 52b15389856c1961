#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <vector>

#include <oks/host/command_line.h>
#include <oks/host/library.h>
#include <oks/platform/object_model.h>

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

CommandLine::CommandLine() : parts_(std::make_unique<Parts>()) {
  CLI::App& app = parts_->app;
  app.require_subcommand(1);
  app.fallthrough();
  app.add_option("--library", parts_->libraryPath, "the command library to load")->capture_default_str();
  app.add_flag("--trace", parts_->trace,
               "print the trace lines of every case to standard error, indented by step depth");
}

CommandLine::~CommandLine() = default;

CLI::App& CommandLine::add(const std::string& name, const std::string& description, Run run,
                           bool loadsLibraryItself) {
  CLI::App* app = parts_->app.add_subcommand(name, description);
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
  } catch (const CLI::ParseError& e) {
    if (app.get_subcommands().empty() && !app.remaining().empty())
      std::cerr << "okshost: unknown sub-command '" << app.remaining().front() << "' (expected "
                << parts_->names() << ")\n";
    else
      std::cerr << "okshost: " << e.what() << " (see --help)\n";
    return e.get_exit_code() != 0 ? e.get_exit_code() : 1;
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
  commandLine.add(
      "list", "print the registered late types with their class names",
      [](const HostOptions& options) {
        CommandLibrary library(options.libraryPath);
        auto classes = registeredClasses();
        std::size_t width = 0;
        for (const auto* meta : classes) width = std::max(width, std::string(meta->LateType()).size());
        for (const auto* meta : classes)
          std::printf("%-*s  %s\n", static_cast<int>(width), meta->LateType(), meta->ClassName());
        return exitPassed;
      },
      true);
}

}  // namespace oks::host
