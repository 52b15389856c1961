// Fuzz target: the script reader. Any text is a script or is refused with a CaseError.
#include <cstddef>
#include <cstdint>
#include <string>

#include <oks/host/reference/script.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    oks::host::checkScript(oks::host::parseJsonText(std::string(reinterpret_cast<const char*>(data), size)));
  } catch (const oks::host::CaseError&) {
  }
  return 0;
}
