// okshost: loads the command library as the server does and drives its commands.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>

#include "host/library.h"
#include "platform/object_model.h"

namespace {

int listCommands() {
  auto classes = oks::registeredClasses();
  std::size_t width = 0;
  for (const auto* meta : classes) width = std::max(width, std::string(meta->LateType()).size());
  for (const auto* meta : classes)
    std::printf("%-*s  %s\n", static_cast<int>(width), meta->LateType(), meta->ClassName());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"okshost: loads the configuration command library and runs its commands"};
  app.require_subcommand(1);
  std::string libraryPath = oks::host::CommandLibrary::defaultPath();
  app.add_option("--library", libraryPath, "the command library to load")->capture_default_str();

  auto* list = app.add_subcommand("list", "print the registered late types with their class names");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }

  try {
    oks::host::CommandLibrary library(libraryPath);
    if (*list) return listCommands();
  } catch (const std::exception& e) {
    std::cerr << "okshost: " << e.what() << "\n";
    return 2;
  }
  return 0;
}
