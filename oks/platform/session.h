// Session services, the root desktop and the model interfaces of configuration objects. Every
// operation here forwards to the server seam.
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
  // 0 with the parent filled, 1 when there is none, another value on failure.
  virtual HRESULT GetParent(ZORICfgModification_var& parent) = 0;
};

// The action attached to a modification.
class ZORIQemAFLAction {
 public:
  static const char* InterfaceName() { return "ZORIQemAFLAction"; }
  virtual ~ZORIQemAFLAction();
  // 0 when closed, 1 when open, another value when the query failed.
  virtual HRESULT IsClose() = 0;
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
  virtual HRESULT PushEnvironment(const ZORUnicodeString& environment) = 0;
  virtual HRESULT PopEnvironment() = 0;
};

namespace oks {

// An object the server hands out: it offers the interfaces of its mask, and the server knows
// it by its identity.
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

  HRESULT GetParent(ZORICfgModification_var& parent) override;
  HRESULT IsClose() override;
  HRESULT PushEnvironment(const ZORUnicodeString& environment) override;
  HRESULT PopEnvironment() override;

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

  static ZORBaseUnknown_var GetFactoryObjectByUUID(const _SEQUENCE_octet& uuid);
  static ApplicationObject* GetAppObjectByUUID(const _SEQUENCE_octet& uuid);
  static ApplicationObject* GetAppObjectByObject(const ZORIQemFactoryObject_var& object, const char* text);

 private:
  std::string identity_;
};

namespace oks {
// A new application object kept by the session until resetSession().
ApplicationObject* makeApplicationObject(std::string identity);
// Forgets the session's application objects.
void resetSession();
}  // namespace oks

// The extended-node view of an application object.
class ApplicationXNode {
 public:
  explicit ApplicationXNode(ApplicationObject*& object);
  // Whether the view could be made.
  int IsNull() const { return !made_; }
  // A new extended node for the object (the caller owns it), or null.
  QEM_ProductTypes::XNode* GetOrbixXNode(short a, short b);

 private:
  ApplicationObject* object_;
  bool made_;
};

class QEMManagerQuery {
 public:
  static HRESULT SetCurrentMask(ZORUnicodeString mask);
};

class QEM_ServerServices {
 public:
  // The name of the data environment; "-" when the server runs in none.
  static ZORUnicodeString GetDataDomain();
};

// The template root desktop; an empty handle when there is none.
ZORIRootDesktop_var GetRootDesktop();
