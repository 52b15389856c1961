// Loading the command library the way the server does: dlopen, which builds every unit's
// statics and so registers the commands; dlclose destroys them.
#pragma once

#include <string>

namespace oks::host {

class CommandLibrary {
 public:
  // Loads the library; throws std::runtime_error naming the path and the loader's reason.
  explicit CommandLibrary(const std::string& path);
  ~CommandLibrary();
  CommandLibrary(const CommandLibrary&) = delete;
  CommandLibrary& operator=(const CommandLibrary&) = delete;

  // An exported symbol, or null.
  void* symbol(const char* name) const;
  const std::string& path() const { return path_; }

  // The library installed or built beside this program.
  static std::string defaultPath();

 private:
  std::string path_;
  void* handle_ = nullptr;
};

}  // namespace oks::host
