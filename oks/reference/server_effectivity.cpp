// Applicabilities, effectivity presence, display and extension, the PUE check and milestones.
#include <algorithm>
#include <limits>
#include <optional>

#include <oks/reference/reference_server.h>

namespace oks::reference {

namespace {

// Every normal value an object keeps: a specification's own values, then its applicabilities'.
template <class O, class F>
void forEachValue(O& o, F f) {
  for (auto& v : o.spec.values) f(v);
  for (auto& entry : o.applicability)
    for (auto& term : entry.Effectivity)
      for (auto& v : term) f(v);
}

std::int64_t rankKey(CORBA::Long toRank) {
  return toRank == 0 ? std::numeric_limits<std::int64_t>::max() : toRank;
}

}  // namespace

HRESULT ReferenceServer::getApplicability(QEMConfig::DomainEffectivitySeq*& out, const XNodeSeq& nodes,
                                          const char* type) {
  std::vector<Object*> objects;
  if (!store_.findEach(nodes, objects, type)) return E_FAIL;
  QEMConfig::DomainEffectivitySeq all;
  for (Object* o : objects)
    for (const auto& entry : o->applicability) all.append(entry);
  return give(out, std::move(all));
}

HRESULT ReferenceServer::setApplicability(const QEMConfig::DomainEffectivitySeq& in, const XNodeSeq& nodes,
                                          const char* type) {
  if (nodes.length() == 0) return E_INVALIDARG;
  std::vector<Object*> targets;
  if (!store_.findEach(nodes, targets, type)) return E_FAIL;
  for (Object* o : targets) o->applicability = in;
  return S_OK;
}

HRESULT ReferenceServer::getPtApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                            const XNodeSeq& nodes) {
  return getApplicability(applicabilities, nodes, kind::ProductType);
}
HRESULT ReferenceServer::getSpecApplicability(QEMConfig::DomainEffectivitySeq*& applicabilities,
                                              const XNodeSeq& nodes) {
  return getApplicability(applicabilities, nodes, kind::ProductSpecification);
}
HRESULT ReferenceServer::setPtApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                                            const XNodeSeq& nodes) {
  return setApplicability(applicabilities, nodes, kind::ProductType);
}
HRESULT ReferenceServer::setSpecApplicability(const QEMConfig::DomainEffectivitySeq& applicabilities,
                                              const XNodeSeq& nodes) {
  return setApplicability(applicabilities, nodes, kind::ProductSpecification);
}

HRESULT ReferenceServer::isEffectivityDefined(unsigned char& defined, const XNodeSeq& nodes) {
  std::vector<Object*> objects;
  if (!store_.findEach(nodes, objects)) return E_FAIL;
  // An empty list defines nothing.
  bool all = !objects.empty() && std::all_of(objects.begin(), objects.end(), [](const Object* o) {
    return statesEffectivity(holdingsOf(*o));
  });
  defined = all ? 1 : 0;
  return S_OK;
}

std::string ReferenceServer::describeEffectivity(const Object& o, const std::string* domain) {
  std::string label = o.type + " \"" + o.name + "\"";
  if (o.is(kind::ProductSpecification) && !o.spec.version.empty()) label += " " + o.spec.version;
  Holdings holdings = holdingsOf(o);
  std::vector<std::string> domains = domainsNamed(holdings);
  if (domain) std::erase_if(domains, [domain](const std::string& d) { return d != *domain; });
  if (domains.empty()) return label + ": ALWAYS";
  std::string text;
  for (const auto& d : domains)
    text += (text.empty() ? "" : "\n") + label + (d.empty() ? "" : " [" + d + "]") + ": " +
            renderEffectivity(effectivityIn(holdings, d, true).terms);
  return text;
}

HRESULT ReferenceServer::displayPtSpecEffectivity(const XNodeSeq& nodes, ZORUnicodeString& description) {
  std::vector<Object*> objects;
  if (!store_.findEach(nodes, objects)) return E_FAIL;
  std::string text;
  // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict on "\n" + std::string here.
  for (Object* o : objects) {
    if (!text.empty()) text += '\n';
    text += describeEffectivity(*o);
  }
  description = text;
  return S_OK;
}

HRESULT ReferenceServer::isPUE(const XNode& node, const ZORUnicodeString& text,
                               ZORListValZORUnicodeString& answer) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  if (text.IsEmpty()) return E_INVALIDARG;
  QEMConfig::NormalValueSeq filter(1);
  filter[0].optionalSpec.append(text.str());
  std::vector<Object*> candidates =
      o->is(kind::ProductSpecification) ? std::vector<Object*>{o} : specificationsOf(*o);
  bool any = false;
  for (Object* s : candidates)
    if (effectiveUnder(*s, filter, "", *o)) {
      answer.Append(s->name);
      any = true;
    }
  return any ? S_OK : S_FALSE;
}

HRESULT ReferenceServer::ExtendEffectivity(const XNodeSeq nodes, const _SEQUENCE_octet* uuid) {
  if (nodes.length() == 0) return E_INVALIDARG;
  std::vector<Object*> targets;
  if (!store_.findEach(nodes, targets)) return E_FAIL;
  // The ends to reach: open without a reference object, else the latest ends of its own.
  std::optional<QEM_OrbixTypes::DateCorba> dateEnd;
  std::optional<CORBA::Long> rankEnd;
  if (!uuid) {
    dateEnd = QEM_OrbixTypes::DateCorba{};
    rankEnd = 0;
  } else {
    Object* reference = store_.find(toHex(*uuid));
    if (!reference) return E_FAIL;
    forEachValue(*reference, [&](const NormalValue& v) {
      for (const auto& d : v.optionalDate)
        if (!dateEnd || dateKey(d.toDate, true) > dateKey(*dateEnd, true)) dateEnd = d.toDate;
      for (const auto& r : v.optionalRange)
        if (!rankEnd || rankKey(r.toRank) > rankKey(*rankEnd)) rankEnd = r.toRank;
    });
  }
  for (Object* o : targets)
    forEachValue(*o, [&](NormalValue& v) {
      for (auto& d : v.optionalDate)
        if (dateEnd && dateKey(*dateEnd, true) > dateKey(d.toDate, true)) d.toDate = *dateEnd;
      for (auto& r : v.optionalRange)
        if (rankEnd && rankKey(*rankEnd) > rankKey(r.toRank)) r.toRank = *rankEnd;
    });
  return S_OK;
}

HRESULT ReferenceServer::getMileStoneValues(const Node& node, QEMConfig::MileStoneValueSeq*& milestones) {
  Object* o = store_.find(node);
  if (!o) return E_FAIL;
  // The object's own milestones, then those of its owners that it does not redefine: the
  // names filter values given for the object resolve to.
  QEMConfig::MileStoneValueSeq found;
  MilestoneScope scope = filterScope(*o);
  for (const auto& m : scope.all()) found.append(m);
  return give(milestones, std::move(found));
}

}  // namespace oks::reference
