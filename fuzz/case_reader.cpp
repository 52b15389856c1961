// Fuzz target: the case file reader. Any text yields cases or one-line errors, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include <oks/host/cases/case_file.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  oks::host::readCaseText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.json");
  return 0;
}
