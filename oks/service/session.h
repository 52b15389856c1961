// Session services, the root desktop and the model interfaces of configuration objects, as the
// commands call them. Their operations are rows of the operation table
// (service/server_operations.def), declared here from it, and forward to the server seam
// (service/forwarders.cpp).
#pragma once

#include <memory>
#include <string>

#include <oks/platform/object_model.h>
#include <oks/platform/zor_unicode_string.h>
#include <oks/types/product_types.h>

class ZORICfgModification;
class ZORIQemAFLAction;
class ZORIQemFactoryObject;
class ZORIConfigHandler;
class ZORIConfigurableObject;
class ZORIRootDesktop;

using ZORICfgModification_var = ZORInterfaceVar<ZORICfgModification>;
using ZORIQemAFLAction_var = ZORInterfaceVar<ZORIQemAFLAction>;
using ZORIQemFactoryObject_var = ZORInterfaceVar<ZORIQemFactoryObject>;
using ZORIConfigHandler_var = ZORInterfaceVar<ZORIConfigHandler>;
using ZORIConfigurableObject_var = ZORInterfaceVar<ZORIConfigurableObject>;
using ZORIRootDesktop_var = ZORInterfaceVar<ZORIRootDesktop>;

// A persistent object seen through the factory.
class ZORIQemFactoryObject {
 public:
  static const char* InterfaceName() { return "ZORIQemFactoryObject"; }
  virtual ~ZORIQemFactoryObject();
};

// A modification of the configuration model.
class ZORICfgModification {
 public:
  static const char* InterfaceName() { return "ZORICfgModification"; }
  virtual ~ZORICfgModification();
#define OKS_FORWARDERS_OF_ZORICfgModification OKS_VIRTUAL
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ZORICfgModification
};

// The action attached to a modification.
class ZORIQemAFLAction {
 public:
  static const char* InterfaceName() { return "ZORIQemAFLAction"; }
  virtual ~ZORIQemAFLAction();
#define OKS_FORWARDERS_OF_ZORIQemAFLAction OKS_VIRTUAL
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ZORIQemAFLAction
};

class ZORIConfigHandler {
 public:
  static const char* InterfaceName() { return "ZORIConfigHandler"; }
  virtual ~ZORIConfigHandler();
};

class ZORIConfigurableObject {
 public:
  static const char* InterfaceName() { return "ZORIConfigurableObject"; }
  virtual ~ZORIConfigurableObject();
};

// The template root desktop: selects and closes the data environment work happens in.
class ZORIRootDesktop {
 public:
  static const char* InterfaceName() { return "ZORIRootDesktop"; }
  virtual ~ZORIRootDesktop();
#define OKS_FORWARDERS_OF_ZORIRootDesktop OKS_VIRTUAL
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ZORIRootDesktop
};

namespace oks {

// An object the server hands out: it offers the interfaces of its mask, and the server knows
// it by its identity. Its interfaces' operations go to the server, GetParent and IsClose with it
// as the object they are called on.
class ServerObject : public ZORBaseUnknown,
                     public ZORIQemFactoryObject,
                     public ZORICfgModification,
                     public ZORIQemAFLAction,
                     public ZORIConfigHandler,
                     public ZORIConfigurableObject,
                     public ZORIRootDesktop {
 public:
  enum Interface : unsigned {
    FactoryObject = 1,
    Modification = 2,
    Action = 4,
    ConfigHandler = 8,
    ConfigurableObject = 16,
    Desktop = 32,
  };

  ServerObject(unsigned interfaces, std::string identity)
      : interfaces_(interfaces), identity_(std::move(identity)) {}

  using ZORBaseUnknown::QueryInterface;
  ZORBaseUnknown* QueryInterface(const char* interfaceName) const override;

  unsigned interfaces() const { return interfaces_; }
  const std::string& identity() const { return identity_; }

 private:
  unsigned interfaces_;
  std::string identity_;
};

// A new server object, in a handle.
ZORBaseUnknown_var makeServerObject(unsigned interfaces, std::string identity);
// The server object behind an interface handle, or null.
template <class I>
const ServerObject* serverObject(const ZORInterfaceVar<I>& handle) {
  return dynamic_cast<const ServerObject*>(handle.object());
}

}  // namespace oks

// The application object of a persistent object. The session keeps it; commands never free it.
class ApplicationObject {
 public:
  explicit ApplicationObject(std::string identity) : identity_(std::move(identity)) {}
  const std::string& identity() const { return identity_; }

#define OKS_FORWARDERS_OF_ApplicationObject OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ApplicationObject

 private:
  std::string identity_;
};

namespace oks {
// A new application object kept by the calling thread's session until that thread calls
// resetSession() or ends: each thread running commands is a session of its own, and one
// session's reset never frees an object a command on another thread holds.
ApplicationObject* makeApplicationObject(std::string identity);
// Forgets the calling thread's application objects.
void resetSession();
}  // namespace oks

// The extended-node view of an application object.
class ApplicationXNode {
 public:
  explicit ApplicationXNode(ApplicationObject*& object);
  // Whether the view could be made.
  int IsNull() const { return !made_; }
  // The application object it is a view of.
  ApplicationObject* object() const { return object_; }
#define OKS_FORWARDERS_OF_ApplicationXNode OKS_FUNCTION
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_ApplicationXNode

 private:
  ApplicationObject* object_;
  bool made_;
};

class QEMManagerQuery {
 public:
#define OKS_FORWARDERS_OF_QEMManagerQuery OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_QEMManagerQuery
};

class QEM_ServerServices {
 public:
#define OKS_FORWARDERS_OF_QEM_ServerServices OKS_STATIC
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_QEM_ServerServices
};

// GetRootDesktop, a function of the global namespace.
#define OKS_FORWARDERS_OF_ OKS_FUNCTION
#include <oks/service/server_operations.def>
#undef OKS_FORWARDERS_OF_
