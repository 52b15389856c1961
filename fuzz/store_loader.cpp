// Fuzz target: the store file loader. Any text fills a store or is refused with a CaseError.
#include <cstddef>
#include <cstdint>
#include <string>

#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    auto database = oks::host::Database::open("", oks::host::Database::Mode::Temporary);
    oks::reference::Store store(*database);
    oks::host::loadStore(oks::host::parseJsonText(std::string(reinterpret_cast<const char*>(data), size)),
                         store);
  } catch (const oks::host::CaseError&) {
  }
  return 0;
}
