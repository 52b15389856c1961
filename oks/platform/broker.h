// Broker bits every command unit carries: the stream and broker initialisation objects, type-code
// objects registered by repository identifier, and the default environment.
#pragma once

#include <string>
#include <vector>

#include <oks/types/sequence.h>

namespace oks {

// A log of the construction and destruction of unit statics, kept only while enabled; tests use
// it to see the order in which a library builds and destroys them.
void enableStaticsLog(bool on);
void logStatic(const std::string& event);
std::vector<std::string> takeStaticsLog();

}  // namespace oks

// The standard stream initialisation object.
class Iostream_init {
 public:
  Iostream_init();
  ~Iostream_init();
};

// The broker initialisation object.
class IT_InitOrbix {
 public:
  IT_InitOrbix();
  ~IT_InitOrbix();
};

namespace CORBA {

// A type code made from a record's stringified type code; registered under its repository
// identifier for as long as it lives.
class typeCode {
 public:
  explicit typeCode(const char* stringified);
  ~typeCode();
  typeCode(const typeCode&) = delete;
  typeCode& operator=(const typeCode&) = delete;

  const std::string& id() const { return id_; }
  // How many type-code objects are registered under a repository identifier.
  static int registered(const std::string& repositoryId);

 private:
  std::string id_;
};

// The broker's call environment.
class Environment {
 public:
  bool operator==(const Environment&) const = default;
};

extern Environment default_environment;

}  // namespace CORBA
