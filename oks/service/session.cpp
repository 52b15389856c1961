// What the session services and server objects hold beyond forwarding to the server seam
// (service/forwarders.cpp): the interfaces a server object offers, and the application objects
// the session keeps.
#include <cstring>
#include <vector>

#include <oks/service/server.h>
#include <oks/service/session.h>

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

ZORBaseUnknown_var makeServerObject(unsigned interfaces, std::string identity) {
  ZORBaseUnknown_var handle;
  handle.attach(new ServerObject(interfaces, std::move(identity)));
  return handle;
}

namespace {
thread_local std::vector<std::unique_ptr<ApplicationObject>> applicationObjects;
}  // namespace

ApplicationObject* makeApplicationObject(std::string identity) {
  applicationObjects.push_back(std::make_unique<ApplicationObject>(std::move(identity)));
  return applicationObjects.back().get();
}

void resetSession() { applicationObjects.clear(); }

}  // namespace oks

ApplicationXNode::ApplicationXNode(ApplicationObject*& object)
    : object_(object), made_(oks::server().ApplicationXNode(object)) {}
