// The case sub-commands of okshost: run prints the observed outcome of a case file, case checks
// cases against their expectations.
#pragma once

#include <oks/host/command_line.h>

namespace oks::host {

void addCaseCommands(CommandLine& commandLine);

}  // namespace oks::host
