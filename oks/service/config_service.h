// The configuration service as the commands call it. Its operations are rows of the operation
// table (service/server_operations.def), declared here from it; every one forwards to the server
// seam (service/forwarders.cpp), and a service object holds nothing of its own.
#pragma once

#include <cstddef>
#include <new>

#include <oks/service/server.h>

namespace QEM_ConfigImplementation_1 {

class ConfigImplementation {
 public:
  ConfigImplementation() = default;
  virtual ~ConfigImplementation() = default;

  // Heap service objects come from here; the nothrow form yields null when fault injection
  // refuses the allocation.
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
  static void operator delete(void* p);

#define OKS_FORWARDERS_OF_ConfigImplementation OKS_VIRTUAL
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ConfigImplementation
};

}  // namespace QEM_ConfigImplementation_1

// The applicability and effectivity-display class of the configuration service.
class ConfigurationImplementation_1 {
 public:
  ConfigurationImplementation_1() = default;
  virtual ~ConfigurationImplementation_1() = default;

#define OKS_FORWARDERS_OF_ConfigurationImplementation_1 OKS_VIRTUAL
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ConfigurationImplementation_1
};

// The static services.
class QEM_ConfigUtils {
 public:
#define OKS_FORWARDERS_OF_QEM_ConfigUtils OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_QEM_ConfigUtils
};

class QEM_ConfigServicesCH {
 public:
#define OKS_FORWARDERS_OF_QEM_ConfigServicesCH OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_QEM_ConfigServicesCH
};

class QEM_ConfigServicesEXT {
 public:
#define OKS_FORWARDERS_OF_QEM_ConfigServicesEXT OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_QEM_ConfigServicesEXT
};

class ZORCfgServices {
 public:
#define OKS_FORWARDERS_OF_ZORCfgServices OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ZORCfgServices
};

class GenVarUtil {
 public:
#define OKS_FORWARDERS_OF_GenVarUtil OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_GenVarUtil
};
