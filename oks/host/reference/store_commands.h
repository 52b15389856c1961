// okshost store: makes, reads and exports reference store databases.
//
//   okshost store init DB [--from FILE.json] [--force]   a new database, empty or from a store file
//   okshost store export DB [--out FILE.json]             the store-file form of its objects
//   okshost store tree DB [OBJECT] [--depth N]            the product structure, one object a line
//   okshost store show DB OBJECT                          every member of one object
//   okshost store effectivity DB OBJECT [--domain D]      the object's effectivity as text
//
// Each takes --json. OBJECT is a UUID in hex, a name, or TYPE:NAME.
#pragma once

#include <oks/host/command_line.h>

namespace oks::host {

void addStoreCommands(CommandLine& commandLine);

}  // namespace oks::host
