// The reference sub-commands of okshost: exec runs one command against the reference store,
// script runs the named steps of a script against it.
#pragma once

#include <oks/host/command_line.h>

namespace oks::host {

void addReferenceCommands(CommandLine& commandLine);

}  // namespace oks::host
