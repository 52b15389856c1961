// Fuzz target: the parser of "--param KEY=JSON" arguments. Any text is a parameter or is refused
// with a CaseError.
#include <cstddef>
#include <cstdint>
#include <string>

#include <oks/host/reference/exec.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    oks::host::parseParamArgument(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const oks::host::CaseError&) {
  }
  return 0;
}
