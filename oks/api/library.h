// Loading the command library the way the server does: dlopen, which builds every unit's
// statics and so registers the commands under their late types; dlclose destroys them.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <oks/platform/hresult.h>

namespace oks {

// What the command API throws: a library that cannot be loaded, a late type that is not
// registered, a command that cannot be made, a parameter refused. Carries the status behind it
// (E_FAIL when there is none).
class CommandError : public std::runtime_error {
 public:
  explicit CommandError(const std::string& what, HRESULT status = E_FAIL)
      : std::runtime_error(what), status_(status) {}
  HRESULT status() const { return status_; }

 private:
  HRESULT status_;
};

// A late type registered with a creator (the library's commands and the server's streamers), and
// its class.
struct CommandType {
  std::string lateType;
  std::string className;
};

// The loaded command library; unloaded when destroyed. Commands made while it is loaded must be
// released before it is.
class CommandLibrary {
 public:
  // Loads the library; throws CommandError naming the path and the loader's reason.
  explicit CommandLibrary(const std::string& path = defaultPath());
  ~CommandLibrary();
  CommandLibrary(const CommandLibrary&) = delete;
  CommandLibrary& operator=(const CommandLibrary&) = delete;
  CommandLibrary(CommandLibrary&& other) noexcept;
  CommandLibrary& operator=(CommandLibrary&& other) noexcept;

  // An exported symbol, or null.
  void* symbol(const char* name) const;
  const std::string& path() const { return path_; }

  // The late types registered, in name order, and whether one is.
  static std::vector<CommandType> commands();
  static bool registered(std::string_view lateType);

  // The library to load: $OKS_COMMAND_LIBRARY when set, else libMIROCfgServImpl.so beside the
  // library of this API (as built and as installed in the same folder), else where the package
  // installed it (the build's CMAKE_INSTALL_LIBDIR).
  static std::string defaultPath();

 private:
  std::string path_;
  void* handle_ = nullptr;
};

}  // namespace oks
