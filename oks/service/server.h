// The server seam: one virtual function per operation the commands call outside the command
// library, as the operation table (service/server_operations.def) lists them. The service
// classes, session services, desktop and model interfaces forward here. This base class is the
// default server: every operation answers E_FAIL and empty values.
#pragma once

#include <oks/platform/broker.h>
#include <oks/platform/zor_unicode_string.h>
#include <oks/service/session.h>
#include <oks/types/product_types.h>
#include <oks/types/qem_config.h>

namespace oks {

using QEM_ProductTypes::Node;
using QEM_ProductTypes::NodeSeq;
using QEM_ProductTypes::XNode;
using QEM_ProductTypes::XNodeSeq;
using AttributeFilters = ZORListPtrQEMIQAttributeFilterObject;
using ObjectQueries = ZORListPtrQEMIQObjectQuery;

class Server {
 public:
  virtual ~Server() = default;

  // One virtual function per row of the operation table.
#define OKS_OPERATION(Class, Return, name, parameters) virtual Return name(OKS_PARAMETERS parameters);
#include <oks/service/server_operations.def>
};

// The server the calling thread sees: the one installed for that thread, else the process's,
// else the default server.
Server& server();
// Installs the process's server; null restores the default.
void setServer(Server* s);

// Installs a server for the lifetime of the object and restores the previous one: the
// process's (seen by every thread that has none of its own; install it before other threads
// run commands), or the calling thread's alone (each thread running commands against a server
// of its own, such as a session with its own database connection).
class ScopedServer {
 public:
  enum class Scope { Process, ThisThread };
  explicit ScopedServer(Server* s, Scope scope = Scope::Process);
  ~ScopedServer();
  ScopedServer(const ScopedServer&) = delete;
  ScopedServer& operator=(const ScopedServer&) = delete;

 private:
  Server* previous_;
  Scope scope_;
};

}  // namespace oks
