// Runs OKS_displayPtSpecApplicability against a server of its own, which describes the
// applicability of whatever it is asked about, and prints the command's status and text.
#include <cstdio>
#include <exception>

#include <oks/api/command.h>
#include <oks/service/server.h>

namespace {

class TinyServer : public oks::Server {
 public:
  HRESULT displayPtSpecEffectivity(const QEM_ProductTypes::XNodeSeq& nodes, ZORUnicodeString& text) override {
    text = "PS \"City Touring\" for " + std::to_string(nodes.length()) + " node(s)\nPT [2024-01-01 ..]";
    return S_OK;
  }
};

}  // namespace

int main() {
  try {
    oks::CommandLibrary library;  // $OKS_COMMAND_LIBRARY, else the one installed with the API
    TinyServer server;
    oks::ScopedServer installed(&server);

    QEM_ProductTypes::XNodeSeq nodes(1);
    nodes[0].Name = "Bike";
    nodes[0].Type = "PRC";
    oks::Command command("OKS_displayPtSpecApplicability");
    command.set("Param0", nodes);
    const HRESULT status = command.execute();
    std::printf("status %d\n%s\n", static_cast<int>(status),
                command.text("result0").value_or("(no text)").c_str());
    return FAILED(status) ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "oks_client: %s\n", e.what());
    return 2;
  }
}
