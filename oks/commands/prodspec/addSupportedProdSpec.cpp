#include <oks/commands/prodspec/creation.h>
#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(addSupportedProdSpec, "OKS_addSupportedProdSpec", OKS_NO_DESTRUCTOR) {
  return oks::createSpecFromSources(
      *this, trace, oksUnitName, [] {},
      [](oks::ConfigService& service, const QEM_ProductTypes::XNodeSeq& sources,
         QEM_ProductTypes::XNode*& created) { return service.addSupportedProdSpec(sources, created); });
}
