#include <oks/platform/faults.h>
#include <oks/service/config_service.h>

namespace QEM_ConfigImplementation_1 {

void* ConfigImplementation::operator new(std::size_t size) { return ::operator new(size); }

void* ConfigImplementation::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (oks::allocationFails(oks::AllocKind::Service)) return nullptr;
  return ::operator new(size, std::nothrow);
}

void ConfigImplementation::operator delete(void* p) { ::operator delete(p); }

}  // namespace QEM_ConfigImplementation_1
