// The command reference: for every late type, its class, parameters (key, kind, required or
// default), results (key, kind), the service operations it calls and what a negative status
// means. The data is docs/commands.json, built into okshost; docs/commands.md is what
// `okshost describe --all --markdown` prints from it.
#pragma once

#include <ostream>
#include <string>

#include <oks/host/codec.h>

namespace oks::host {

class CommandLine;

// docs/commands.json as built in: {"format": 1, "commands": [{"lateType", "class", "summary",
// "parameters": [{"key", "kind", "required" or "default", "note"?}], "results": [{"key", "kind",
// "note"?}], "operations": [...], "negative"}]}.
const Json& commandReference();

// The entry of a late type, or null.
const Json* describedCommand(const std::string& lateType);

// One entry as text, or as a Markdown section.
void printDescription(std::ostream& out, const Json& entry);
void printMarkdown(std::ostream& out, const Json& entry);
// Every entry: the page docs/commands.md.
void printReferencePage(std::ostream& out);

// describe LATE_TYPE | describe --all [--markdown]
void addDescribeCommand(CommandLine& commandLine);

}  // namespace oks::host
