#include <oks/commands/prodspec/creation.h>
#include <oks/framework/command.h>
#include <oks/framework/helpers.h>

OKS_COMMAND(addCOProdSpec, "OKS_addCOProdSpec", OKS_NO_DESTRUCTOR) {
  int carryOver = 0;
  // The carry-over switch: 1 when "Param1" carries the text "1". A "Param1" that yields no
  // text (getter or accessor failing, empty handle, no object) leaves it at 0.
  auto readCarryOver = [&] {
    auto text = oks::readStreamable<ZORUnicodeString>(*this, "Param1");
    if (!text.object) {
      oks::traceLine(trace, "Unable to retrieve Param1");
      return;
    }
    oks::traceLine(trace, "CarryOver=", *text.object);
    carryOver = text.object->Compare("1") ? 1 : 0;
  };
  return oks::createSpecFromSources(
      *this, trace, oksUnitName, readCarryOver,
      [&](oks::ConfigService& service, const QEM_ProductTypes::XNodeSeq& sources,
          QEM_ProductTypes::XNode*& created) { return service.addCOProdSpec(sources, carryOver, created); });
}
