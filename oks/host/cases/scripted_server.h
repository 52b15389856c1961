// The scripted server: the server seam answered from a case's "server" member. It records every
// call with its arguments' values on entry, and answers each operation with the case's answer
// for it (one for every call, or an array used in call order): a status and outputs, a value,
// or the server's exception. An operation without an answer returns 0 or an empty value and
// leaves its outputs alone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <oks/host/codec.h>
#include <oks/service/server.h>

namespace oks::host {

class ScriptedServer {
 public:
  // The answers must have passed validate().
  explicit ScriptedServer(const Json& answers);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  // The seam implementation to install.
  Server& server();
  // Every call so far, in order: {"op": name, "args": [...]}.
  const Json& calls() const;

  // Checks a "server" member: known operation names, answers of the right shape, outputs and
  // values that decode as the operation's signature says. Throws CaseError naming the member.
  static void validate(const Json& answers, const std::string& path);
  // The same for the answers of one operation, written at path.
  static void validateAnswers(const std::string& op, const Json& answers, const std::string& path);
  // The names of every operation of the seam.
  static std::vector<std::string> operationNames();

 private:
  class Scripted;
  std::unique_ptr<Scripted> impl_;
};

}  // namespace oks::host
