// Every class the commands call passes each of its operations on to the installed server: the
// definitions, one per row of the operation table.
#include <oks/service/config_service.h>
#include <oks/service/server.h>
#include <oks/service/session.h>

using QEM_ConfigImplementation_1::ConfigImplementation;

namespace {

// The object an operation is called on, as the server knows it: the server object behind a
// model interface, the application object behind its extended-node view.
template <class Interface>
const oks::ServerObject& calledOn(const Interface& handle) {
  return dynamic_cast<const oks::ServerObject&>(handle);
}
ApplicationObject* calledOn(const ApplicationXNode& view) { return view.object(); }

}  // namespace

#define OKS_OPERATION(Class, Return, name, parameters)           \
  Return OKS_QUALIFIED(name, Class)(OKS_PARAMETERS parameters) { \
    return oks::server().name(OKS_ARGUMENTS parameters);         \
  }
#define OKS_OPERATION_ON_OBJECT(Class, Return, name, parameters)                           \
  Return Class::name(OKS_PARAMETERS_AFTER_OBJECT parameters) {                             \
    return oks::server().name(calledOn(*this) OKS_MORE_ARGUMENTS_AFTER_OBJECT parameters); \
  }
// The constructor of the class asks the server itself (service/session.cpp).
#define OKS_OPERATION_IN_CONSTRUCTOR(Class, Return, name, parameters)
#include <oks/service/server_operations.def>
