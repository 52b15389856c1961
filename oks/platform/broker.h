// Broker bits every command unit carries: the stream and broker initialisation objects, type-code
// objects registered by repository identifier, and the default environment.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <oks/types/sequence.h>

namespace oks {

// A log of the construction and destruction of unit statics, kept only while enabled; tests use
// it to see the order in which a library builds and destroys them. While it is off, logging
// costs one check.
void enableStaticsLog(bool on);
bool staticsLogOn();
void logStatic(std::string_view event);
std::vector<std::string> takeStaticsLog();

// Registers a set of repository identifiers as type codes, once, for as long as the object
// lives: a library's units share one registration instead of each registering every record.
class TypeCodeRegistration {
 public:
  explicit TypeCodeRegistration(std::span<const char* const> repositoryIds);
  ~TypeCodeRegistration();
  TypeCodeRegistration(const TypeCodeRegistration&) = delete;
  TypeCodeRegistration& operator=(const TypeCodeRegistration&) = delete;

 private:
  std::span<const char* const> ids_;
};

// A unit's type-code statics as the statics log sees them: "+typeCode ID" for each identifier in
// order when built, "-typeCode ID" in reverse order when destroyed. Registers nothing.
class UnitTypeCodes {
 public:
  explicit UnitTypeCodes(std::span<const char* const> repositoryIds);
  ~UnitTypeCodes();
  UnitTypeCodes(const UnitTypeCodes&) = delete;
  UnitTypeCodes& operator=(const UnitTypeCodes&) = delete;

 private:
  std::span<const char* const> ids_;
};

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
  // How many registrations (type-code objects, libraries) a repository identifier has.
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
