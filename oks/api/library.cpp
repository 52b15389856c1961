#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include <oks/api/library.h>
#include <oks/platform/object_model.h>

namespace oks {

namespace fs = std::filesystem;

CommandLibrary::CommandLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    throw CommandError("cannot load command library " + path + ": " + (why ? why : "unknown reason"));
  }
}

CommandLibrary::~CommandLibrary() {
  if (handle_) dlclose(handle_);
}

CommandLibrary::CommandLibrary(CommandLibrary&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, nullptr)) {}

CommandLibrary& CommandLibrary::operator=(CommandLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_) dlclose(handle_);
    path_ = std::move(other.path_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void* CommandLibrary::symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

std::vector<CommandType> CommandLibrary::commands() {
  std::vector<CommandType> types;
  for (const ZORMetaClass* meta : registeredClasses()) types.push_back({meta->LateType(), meta->ClassName()});
  return types;
}

bool CommandLibrary::registered(std::string_view lateType) {
  return findLateType(std::string(lateType).c_str()) != nullptr;
}

std::string CommandLibrary::defaultPath() {
  if (const char* chosen = std::getenv("OKS_COMMAND_LIBRARY"); chosen && *chosen) return chosen;
  const char* name = "libMIROCfgServImpl.so";
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&CommandLibrary::defaultPath), &self) && self.dli_fname) {
    std::error_code ec;
    fs::path beside = fs::path(self.dli_fname).parent_path() / name;
    if (fs::exists(beside, ec)) return fs::weakly_canonical(beside, ec).string();
  }
  return OKS_COMMAND_LIBRARY_DEFAULT;
}

}  // namespace oks
