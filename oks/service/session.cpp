// Session services, desktop and model interfaces: each operation forwards to the server seam.
#include <cstring>
#include <mutex>
#include <vector>

#include <oks/platform/session.h>
#include <oks/service/server.h>

ZORIQemFactoryObject::~ZORIQemFactoryObject() = default;
ZORICfgModification::~ZORICfgModification() = default;
ZORIQemAFLAction::~ZORIQemAFLAction() = default;
ZORIConfigHandler::~ZORIConfigHandler() = default;
ZORIConfigurableObject::~ZORIConfigurableObject() = default;
ZORIRootDesktop::~ZORIRootDesktop() = default;

namespace oks {

ZORBaseUnknown* ServerObject::QueryInterface(const char* name) const {
  if (!name) return nullptr;
  struct Offer {
    const char* name;
    unsigned bit;
  };
  static const Offer offers[] = {
      {ZORIQemFactoryObject::InterfaceName(), FactoryObject},
      {ZORICfgModification::InterfaceName(), Modification},
      {ZORIQemAFLAction::InterfaceName(), Action},
      {ZORIConfigHandler::InterfaceName(), ConfigHandler},
      {ZORIConfigurableObject::InterfaceName(), ConfigurableObject},
      {ZORIRootDesktop::InterfaceName(), Desktop},
  };
  for (const auto& offer : offers)
    if (std::strcmp(name, offer.name) == 0 && (interfaces_ & offer.bit))
      return const_cast<ServerObject*>(this);
  return nullptr;
}

HRESULT ServerObject::GetParent(ZORICfgModification_var& parent) { return server().GetParent(*this, parent); }
HRESULT ServerObject::IsClose() { return server().IsClose(*this); }
HRESULT ServerObject::PushEnvironment(const ZORUnicodeString& environment) {
  return server().PushEnvironment(environment);
}
HRESULT ServerObject::PopEnvironment() { return server().PopEnvironment(); }

ZORBaseUnknown_var makeServerObject(unsigned interfaces, std::string identity) {
  ZORBaseUnknown_var handle;
  handle.attach(new ServerObject(interfaces, std::move(identity)));
  return handle;
}

namespace {
struct Session {
  std::mutex mutex;
  std::vector<std::unique_ptr<ApplicationObject>> objects;
};
Session& session() {
  static Session* s = new Session;
  return *s;
}
}  // namespace

ApplicationObject* makeApplicationObject(std::string identity) {
  auto& s = session();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.objects.push_back(std::make_unique<ApplicationObject>(std::move(identity)));
  return s.objects.back().get();
}

void resetSession() {
  auto& s = session();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.objects.clear();
}

}  // namespace oks

ZORBaseUnknown_var ApplicationObject::GetFactoryObjectByUUID(const _SEQUENCE_octet& uuid) {
  return oks::server().GetFactoryObjectByUUID(uuid);
}
ApplicationObject* ApplicationObject::GetAppObjectByUUID(const _SEQUENCE_octet& uuid) {
  return oks::server().GetAppObjectByUUID(uuid);
}
ApplicationObject* ApplicationObject::GetAppObjectByObject(const ZORIQemFactoryObject_var& object,
                                                           const char* text) {
  return oks::server().GetAppObjectByObject(object, text);
}

ApplicationXNode::ApplicationXNode(ApplicationObject*& object)
    : object_(object), made_(oks::server().ApplicationXNode(object)) {}

QEM_ProductTypes::XNode* ApplicationXNode::GetOrbixXNode(short a, short b) {
  return oks::server().GetOrbixXNode(object_, a, b);
}

HRESULT QEMManagerQuery::SetCurrentMask(ZORUnicodeString mask) { return oks::server().SetCurrentMask(mask); }
ZORUnicodeString QEM_ServerServices::GetDataDomain() { return oks::server().GetDataDomain(); }
ZORIRootDesktop_var GetRootDesktop() { return oks::server().GetRootDesktop(); }
