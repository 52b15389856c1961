#include <type_traits>

#include <oks/service/server.h>

namespace oks {
namespace {

// What the default server answers: E_FAIL for a status, the empty value for anything else.
template <class R>
R unanswered() {
  if constexpr (std::is_same_v<R, HRESULT>)
    return E_FAIL;
  else
    return R{};
}

}  // namespace

// The default server: every operation fails with E_FAIL and leaves its outputs empty.
#define OKS_OPERATION(Class, Return, name, parameters) \
  Return Server::name(OKS_PARAMETER_TYPES parameters) { return unanswered<Return>(); }
#include <oks/service/server_operations.def>

namespace {
Server defaultServer;
Server* installed = nullptr;
thread_local Server* installedForThread = nullptr;

Server*& slot(ScopedServer::Scope scope) {
  return scope == ScopedServer::Scope::ThisThread ? installedForThread : installed;
}
}  // namespace

Server& server() {
  if (Server* s = installedForThread) return *s;
  return installed ? *installed : defaultServer;
}
void setServer(Server* s) { installed = s; }

ScopedServer::ScopedServer(Server* s, Scope scope) : previous_(slot(scope)), scope_(scope) {
  slot(scope) = s;
}
ScopedServer::~ScopedServer() { slot(scope_) = previous_; }

}  // namespace oks
