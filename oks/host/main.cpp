// okshost: loads the command library as the server does and drives its commands: lists the
// registered late types, runs cases against a scripted server, runs commands and scripts
// against the reference service, makes, reads and exports its store databases, and describes
// each command. Each part of the host adds its own sub-commands.
#include <oks/host/cases/case_commands.h>
#include <oks/host/command_line.h>
#include <oks/host/describe.h>
#include <oks/host/reference/reference_commands.h>
#include <oks/host/reference/store_commands.h>

int main(int argc, char** argv) {
  oks::host::CommandLine commandLine;
  oks::host::addListCommand(commandLine);
  oks::host::addCaseCommands(commandLine);
  oks::host::addReferenceCommands(commandLine);
  oks::host::addDescribeCommand(commandLine);
  oks::host::addStoreCommands(commandLine);
  return commandLine.run(argc, argv);
}
