#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include <oks/host/library.h>

namespace oks::host {

namespace fs = std::filesystem;

CommandLibrary::CommandLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    throw std::runtime_error("cannot load command library " + path + ": " + (why ? why : "unknown reason"));
  }
}

CommandLibrary::~CommandLibrary() {
  if (handle_) dlclose(handle_);
}

void* CommandLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

std::string CommandLibrary::defaultPath() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  fs::path dir = ec ? fs::current_path() : exe.parent_path();
  const char* name = "libMIROCfgServImpl.so";
  for (const fs::path& candidate : {dir / ".." / "lib" / name, dir / ".." / "lib64" / name, dir / name})
    if (fs::exists(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
  return (dir / ".." / "lib" / name).string();
}

}  // namespace oks::host
