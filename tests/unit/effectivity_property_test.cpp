// The effectivity rules as a property: random specifications, product types, applicabilities,
// milestones and filters go through the reference service (filterSpecs, verifySpecs,
// isEffectivityDefined, displayPtSpecEffectivity) and through a second, deliberately simple
// statement of the rules below, which tries every point of a small finite universe. The two
// must agree; when they do not, the test prints the case and what differs.
//
// The universe: the generator draws days and times of day from small sets, so that membership
// of every value can change only at a few instants; the statement tries one instant of each
// stretch between them (a day's 00:00:00, 12:00:00 and 12:00:01, a day after each drawn day, and
// one instant long before). Ranks 0 to 6 stand for every rank (6 for all above 5), the drawn
// names and one other name for every name. What the universe does not reach (far values, the
// text grammar) is a table at the end.
//
// OKS_PROPERTY_SEED and OKS_PROPERTY_CASES override the fixed seed and the number of cases
// (5000, at least five comparisons each; 1000 under the sanitizers).
#include <gtest/gtest.h>

#include <bitset>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>
#include <set>
#include <sstream>

#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>
#include <oks/reference/reference_server.h>

namespace {

using namespace oks::reference;
using QEM_ConfigTypes::DateValue;
using QEM_ConfigTypes::RangeValue;
using QEM_OrbixTypes::DateCorba;
using QEM_ProductTypes::Node;
using QEM_ProductTypes::NodeSeq;
using QEM_ProductTypes::XNodeSeq;
using Values = QEMConfig::NormalValueSeq;
using Applicability = QEMConfig::DomainEffectivitySeq;

// --- The universe -------------------------------------------------------------------------

const DateCorba kDays[] = {{2026, 2, 28}, {2026, 2, 29}, {2026, 3, 1}, {2026, 12, 31}, {2027, 1, 1}};
const int kStartTimes[][3] = {{0, 0, 0}, {12, 0, 0}, {12, 0, 1}};
const int kEndTimes[][3] = {{0, 0, 0}, {11, 59, 59}, {12, 0, 0}, {23, 59, 59}};  // 0: the whole day
const char* const kSpecNames[] = {"EU", "US", "eu", "a\"b"};
const char* const kMilestoneNames[] = {"M1", "M2", "m1", "X"};  // X is never defined
const char* const kDomains[] = {"", "EU", "US"};

std::int64_t seconds(const DateCorba& d) {
  std::tm t{d.sec, d.min, d.hour, d.day, d.month - 1, d.year - 1900, 0, 0, 0, 0, nullptr};
  return timegm(&t);
}

// The instants tried: one long before, and on each drawn day and the day after, each start time.
const DateCorba kProbeDays[] = {{2026, 2, 28},  {2026, 3, 1}, {2026, 3, 2},
                                {2026, 12, 31}, {2027, 1, 1}, {2027, 1, 2}};
constexpr std::size_t kInstantCount = 1 + std::size(kProbeDays) * std::size(kStartTimes);
std::vector<std::int64_t> probeInstants() {
  std::vector<std::int64_t> out{seconds({2000, 1, 1})};
  for (DateCorba day : kProbeDays)
    for (const auto& time : kStartTimes)
      out.push_back(seconds({day.year, day.month, day.day, time[0], time[1], time[2]}));
  return out;
}
const std::vector<std::int64_t> kInstants = probeInstants();
constexpr int kRanks = 7;
constexpr int kNames = 5;  // the drawn names and one other
constexpr std::size_t kPoints = kInstantCount * kRanks * kNames;
using Set = std::bitset<kPoints>;

// --- The rules, stated simply ---------------------------------------------------------------

using Scope = std::vector<const MileStoneValue*>;  // nearest first

const MileStoneValue* resolveName(const Scope& scope, const std::string& name) {
  for (const auto* m : scope)
    if (m->Name == name) return m;
  return nullptr;
}

bool isOpen(const DateCorba& d) { return d == DateCorba{}; }
bool startsBy(const DateCorba& from, std::int64_t t) { return isOpen(from) || seconds(from) <= t; }
bool endsAfter(const DateCorba& to, std::int64_t t) {
  bool wholeDay = to.hour == 0 && to.min == 0 && to.sec == 0;
  return isOpen(to) || t <= seconds(to) + (wholeDay ? 86399 : 0);
}
bool inRanks(int from, int to, int r) { return from <= r && (to == 0 || r <= to); }

Set pointsOf(const NormalValue& v, const Scope& scope) {
  bool named = !v.StartMileStoneName.empty() || !v.EndMileStoneName.empty();
  const MileStoneValue* start =
      v.StartMileStoneName.empty() ? nullptr : resolveName(scope, v.StartMileStoneName);
  const MileStoneValue* end = v.EndMileStoneName.empty() ? nullptr : resolveName(scope, v.EndMileStoneName);
  bool unresolved = (!v.StartMileStoneName.empty() && !start) || (!v.EndMileStoneName.empty() && !end) ||
                    (start && end && (start->type == 1) != (end->type == 1));
  const MileStoneValue* kind = start ? start : end;
  bool rankSpan = named && kind && kind->type == 1;
  bool dateSpan = named && kind && kind->type != 1;
  // Each dimension on its own, then every point.
  auto inDates = [&](std::int64_t t) {
    bool listed = v.optionalDate.length() == 0;
    for (const auto& d : v.optionalDate)
      listed = listed || (startsBy(d.fromDate, t) && endsAfter(d.toDate, t));
    return listed && (!dateSpan || ((!start || startsBy(start->optionalDate.fromDate, t)) &&
                                    (!end || endsAfter(end->optionalDate.toDate, t))));
  };
  auto inRankParts = [&](int r) {
    bool listed = v.optionalRange.length() == 0;
    for (const auto& x : v.optionalRange) listed = listed || inRanks(x.fromRank, x.toRank, r);
    return listed && (!rankSpan || ((!start || r >= start->optionalRange.fromRank) &&
                                    (!end || inRanks(0, end->optionalRange.toRank, r))));
  };
  auto inNames = [&](int n) {
    return v.optionalSpec.length() == 0 ||
           (n < 4 && std::count(v.optionalSpec.begin(), v.optionalSpec.end(), kSpecNames[n]) > 0);
  };
  // Point (t, r, n) is bit (t * kRanks + r) * kNames + n.
  Set s;
  std::bitset<kRanks * kNames> ranksAndNames;
  for (int r = 0; r < kRanks; ++r)
    for (int n = 0; n < kNames; ++n) ranksAndNames[r * kNames + n] = inRankParts(r) && inNames(n);
  for (std::size_t t = 0; t < kInstants.size() && !(named && unresolved); ++t)
    if (inDates(kInstants[t]))
      for (std::size_t i = 0; i < ranksAndNames.size(); ++i)
        s[t * ranksAndNames.size() + i] = ranksAndNames[i];
  return v.Sign == "-" ? ~s : s;
}

Set termPoints(const QEM_Config::ANDTerm& term, const Scope& scope) {
  Set s;
  s.set();
  for (const auto& v : term) s &= pointsOf(v, scope);
  return s;
}

// An object's effectivity in a domain: no restriction, not effective, or AND-terms.
struct Stated {
  enum { Always, Never, Terms } kind = Always;
  std::vector<Set> terms;
};

struct Holding {
  Values values;
  std::string valuesDomain;
  Applicability applicability;
};

bool states(const Holding& h) {
  return h.values.length() > 0 || std::any_of(h.applicability.begin(), h.applicability.end(),
                                              [](const auto& a) { return a.Effectivity.length() > 0; });
}

Stated statedIn(const Holding& h, const std::string& domain, bool exact, const Scope& scope) {
  Stated e;
  if (!states(h)) return e;
  auto fits = [&](const std::string& d) { return d.empty() || d == domain || (domain.empty() && !exact); };
  bool valuesFit = h.values.length() > 0 && fits(h.valuesDomain);
  Set values = valuesFit ? termPoints(h.values, scope) : Set().set();
  bool anyFits = false;
  for (const auto& a : h.applicability) {
    if (!fits(a.Domain)) continue;
    anyFits = true;
    if (a.Effectivity.length() == 0) e.terms.push_back(values);
    for (const auto& term : a.Effectivity) e.terms.push_back(values & termPoints(term, scope));
  }
  if (!anyFits && valuesFit) e.terms.push_back(values);
  e.kind = e.terms.empty() ? Stated::Never : Stated::Terms;
  return e;
}

bool statedMatches(const Stated& e, const std::vector<Set>& filter) {
  if (e.kind != Stated::Terms) return e.kind == Stated::Always;
  return std::any_of(e.terms.begin(), e.terms.end(), [&](const Set& t) {
    return filter.empty()
               ? t.any()
               : std::all_of(filter.begin(), filter.end(), [&](const Set& f) { return (t & f).any(); });
  });
}

bool statedIntersect(const Stated& a, const Stated& b) {
  auto anyPoint = [](const Stated& e) {
    return e.kind == Stated::Always ||
           std::any_of(e.terms.begin(), e.terms.end(), [](const Set& t) { return t.any(); });
  };
  if (a.kind == Stated::Always || b.kind == Stated::Always) return anyPoint(a.kind == Stated::Always ? b : a);
  for (const auto& ta : a.terms)
    for (const auto& tb : b.terms)
      if ((ta & tb).any()) return true;
  return false;
}

// --- Random cases ---------------------------------------------------------------------------

// The store of a case: specification P under product type T under root class R, view V under R,
// and view W under another root class S. The operation works on one of them.
enum Place { P, T, R, V, S, W, kPlaces };
const Place kOwner[] = {T, R, kPlaces, R, kPlaces, S};
const char* const kPlaceNames[] = {"P", "T", "R", "V", "S", "W"};

struct Case {
  Holding spec;
  Holding type;
  QEMConfig::MileStoneValueSeq milestones[kPlaces];
  Place context = R;
  Values filter;
  std::string domain;
};

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  Case next() {
    Case c;
    c.spec = {values(3), pick(kDomains), applicability()};
    c.type = {Values{}, "", applicability()};
    for (auto& list : c.milestones)
      for (int i = below(3); i > 0; --i) list.append(milestone());
    c.context = static_cast<Place>(below(kPlaces));
    c.filter = values(2);
    c.domain = pick(kDomains);
    return c;
  }

 private:
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool chance(int percent) { return below(100) < percent; }
  template <class T, std::size_t N>
  T pick(T (&items)[N]) {
    return items[below(static_cast<int>(N))];
  }
  DateCorba date(bool isEnd) {
    if (chance(15)) return {};
    DateCorba d = pick(kDays);
    const int* time = isEnd ? kEndTimes[below(4)] : kStartTimes[below(3)];
    d.hour = time[0], d.min = time[1], d.sec = time[2];
    return d;
  }
  RangeValue range() { return {below(7) - 1, below(7) - 1}; }
  NormalValue value() {
    NormalValue v;
    for (int i = chance(40) ? below(2) + 1 : 0; i > 0; --i) v.optionalDate.append({date(false), date(true)});
    for (int i = chance(35) ? below(2) + 1 : 0; i > 0; --i) v.optionalRange.append(range());
    for (int i = chance(35) ? below(2) + 1 : 0; i > 0; --i) v.optionalSpec.append(pick(kSpecNames));
    if (chance(20)) v.StartMileStoneName = pick(kMilestoneNames);
    if (chance(20)) v.EndMileStoneName = pick(kMilestoneNames);
    if (chance(30)) v.Sign = "-";
    return v;
  }
  Values values(int most) {
    Values out;
    for (int i = below(most + 1); i > 0; --i) out.append(value());
    return out;
  }
  Applicability applicability() {
    Applicability out;
    for (int i = chance(50) ? below(3) : 0; i > 0; --i) {
      QEM_Config::XEffectivityValues entry;
      entry.Domain = pick(kDomains);
      for (int t = below(3); t > 0; --t) entry.Effectivity.append(values(2));
      out.append(entry);
    }
    return out;
  }
  MileStoneValue milestone() {
    MileStoneValue m;
    m.Name = kMilestoneNames[below(3)];
    m.type = static_cast<CORBA::Short>(below(3));
    if (m.type == 1)
      m.optionalRange = range();
    else
      m.optionalDate = {date(false), date(true)};
    return m;
  }

  std::mt19937 random_;
};

// --- The comparison -------------------------------------------------------------------------

Scope chainOf(const Case& c, Place from) {
  Scope scope;
  for (Place at = from; at != kPlaces; at = kOwner[at])
    for (const auto& m : c.milestones[at]) scope.push_back(&m);
  return scope;
}
Scope valueScope(const Case& c, Place object) {
  Scope scope = chainOf(c, object);
  for (const auto& m : c.milestones[c.context]) scope.push_back(&m);
  return scope;
}

// The distinct sets of AND-terms: an effectivity says the same whatever their order and repeats.
std::set<std::string> distinct(const std::vector<Set>& terms) {
  std::set<std::string> out;
  for (const auto& t : terms) out.insert(t.to_string());
  return out;
}

std::string yesNo(bool b) { return b ? "yes, the rules say no" : "no, the rules say yes"; }

// One database for every case: each case is one transaction, rolled back when it is done.
oks::host::Database& caseDatabase() {
  static auto database = oks::host::Database::open("", oks::host::Database::Mode::Temporary);
  return *database;
}

// The store of a case in a reference service.
struct Served {
  explicit Served(const Case& c) {
    Store& store = server.store();
    store.begin();
    objects[R] = &store.create(kind::ProductRootClass, "R", "", "CONFIG");
    objects[S] = &store.create(kind::ProductRootClass, "S", "", "CONFIG");
    objects[T] = &store.create(kind::ProductType, "T", objects[R]->uuid, "CONFIG");
    objects[P] = &store.create(kind::ProductSpecification, "P", objects[T]->uuid, "CONFIG");
    objects[V] = &store.create(kind::ConfiguredView, "V", objects[R]->uuid, "CONFIG");
    objects[W] = &store.create(kind::ConfiguredView, "W", objects[S]->uuid, "CONFIG");
    for (int p = 0; p < kPlaces; ++p) objects[p]->milestones = c.milestones[p];
    objects[P]->spec.version = "A";
    objects[P]->spec.values = c.spec.values;
    objects[P]->spec.domain = c.spec.valuesDomain;
    objects[P]->applicability = c.spec.applicability;
    objects[T]->applicability = c.type.applicability;
  }
  Node node(Place p) { return server.nodeOf(*objects[p]); }

  ~Served() { server.store().rollback(); }

  ReferenceServer server{caseDatabase(), 1};
  Object* objects[kPlaces];
};

void checkFilter(const Case& c, Served& served, std::ostream& out) {
  Scope filterNames = chainOf(c, c.context);
  std::vector<Set> filter;
  for (const auto& f : c.filter) filter.push_back(pointsOf(f, filterNames));
  bool stated = statedMatches(statedIn(c.spec, c.domain, false, valueScope(c, P)), filter);
  NodeSeq tree;
  tree.append(served.node(P));
  NodeSeq* kept = nullptr;
  served.server.filterSpecs(served.node(c.context), c.filter, c.domain, 1, tree, kept);
  std::unique_ptr<NodeSeq> hold(kept);
  if ((kept && kept->length() == 1) != stated) out << "filterSpecs keeps P: " << yesNo(!stated) << "\n";
}

void checkVerify(const Case& c, Served& served, std::ostream& out) {
  bool stated = statedIntersect(statedIn(c.spec, "", false, valueScope(c, P)),
                                statedIn(c.type, "", false, valueScope(c, T)));
  NodeSeq selected, specs;
  selected.append(served.node(T));
  specs.append(served.node(P));
  Node* outcome = nullptr;
  served.server.verifySpecs(served.node(c.context), selected, specs, outcome);
  std::unique_ptr<Node> hold(outcome);
  const auto& attributes = outcome->AttributeList;
  if ((attributes[attributes.length() - 1].Value == CORBA::Any(std::string())) != stated)
    out << "verifySpecs passes P: " << yesNo(!stated) << "\n";
}

void checkDefined(const Case& c, Served& served, const XNodeSeq& both, std::ostream& out) {
  bool stated = states(c.spec) && states(c.type);
  unsigned char defined = 9;
  served.server.isEffectivityDefined(defined, both);
  if (defined != stated) out << "isEffectivityDefined: " << int{defined} << "\n";
}

// One line per domain named, each saying the effectivity in exactly that domain: the service's
// text is the text form (checked on its own at the end) of AND-terms that denote what the rules say.
void checkText(const Case& c, Served& served, const XNodeSeq& both, std::ostream& out) {
  ZORUnicodeString text;
  served.server.displayPtSpecEffectivity(both, text);
  std::string expected;
  for (auto [label, holding, place] :
       {std::tuple{"PS \"P\" A", &c.spec, P}, std::tuple{"PT \"T\"", &c.type, T}}) {
    std::vector<std::string> domains;
    if (states(*holding) && holding->values.length() > 0) domains.push_back(holding->valuesDomain);
    for (const auto& a : holding->applicability)
      if (states(*holding) && std::find(domains.begin(), domains.end(), a.Domain) == domains.end())
        domains.push_back(a.Domain);
    if (domains.empty()) expected += std::string(expected.empty() ? "" : "\n") + label + ": ALWAYS";
    for (const auto& d : domains) {
      auto said = effectivityIn({holding->values, holding->valuesDomain, holding->applicability}, d, true);
      expected += std::string(expected.empty() ? "" : "\n") + label + (d.empty() ? "" : " [" + d + "]") +
                  ": " + renderEffectivity(said.terms);
      Scope names = valueScope(c, place);
      Stated stated = statedIn(*holding, d, true, names);
      std::vector<Set> saidPoints;
      for (const auto& term : said.terms) saidPoints.push_back(termPoints(term, names));
      if (stated.kind == Stated::Never || distinct(saidPoints) != distinct(stated.terms))
        out << "the text for domain \"" << d << "\" says something else\n";
    }
  }
  if (text.str() != expected) out << "text:\n" << text.str() << "\nnot:\n" << expected << "\n";
}

// What the service answers otherwise than the rules, after the case: the store-file form of its
// objects and the operation. Empty when they agree.
std::string disagreement(const Case& c) {
  Served served(c);
  XNodeSeq both{served.server.xnodeOf(*served.objects[P]), served.server.xnodeOf(*served.objects[T])};
  std::ostringstream out;
  checkFilter(c, served, out);
  checkVerify(c, served, out);
  checkDefined(c, served, both, out);
  checkText(c, served, both, out);
  if (out.tellp() == 0) return "";
  std::ostringstream report;
  for (int p = 0; p < kPlaces; ++p)
    report << kPlaceNames[p] << ": " << oks::host::storeObject(*served.objects[p]).dump() << "\n";
  report << "operation on " << kPlaceNames[c.context] << ", domain \"" << c.domain << "\", filter "
         << (c.filter.length() ? renderTerm(c.filter) : "none") << "\n"
         << out.str();
  return report.str();
}

// Under the sanitizers every allocation costs many times more: fewer cases keep the run short,
// and the memory checks need no more.
#ifdef __SANITIZE_ADDRESS__
constexpr std::uint32_t kCases = 1000;
#else
constexpr std::uint32_t kCases = 5000;
#endif

std::uint32_t setting(const char* name, std::uint32_t otherwise) {
  const char* text = std::getenv(name);
  return text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : otherwise;
}

TEST(EffectivityProperty, TheServiceAnswersAsTheRulesSay) {
  std::uint32_t seed = setting("OKS_PROPERTY_SEED", 20260117);
  std::uint32_t cases = setting("OKS_PROPERTY_CASES", kCases);
  Generator generator(seed);
  for (std::uint32_t i = 0; i < cases; ++i) {
    Case c = generator.next();
    std::string differs = disagreement(c);
    if (differs.empty()) continue;
    ADD_FAILURE() << "seed " << seed << ", case " << i << ":\n" << differs;
    return;
  }
}

// --- What the universe does not reach ---------------------------------------------------------

DateCorba day(int y, int m, int d, int hour = 0, int min = 0) { return {y, m, d, hour, min, 0}; }
NormalValue dates(DateCorba from, DateCorba to) {
  NormalValue v;
  v.optionalDate.append({from, to});
  return v;
}
NormalValue onDay(int y, int m, int d) { return dates(day(y, m, d), day(y, m, d)); }
NormalValue ranks(int from, int to) {
  NormalValue v;
  v.optionalRange.append({from, to});
  return v;
}
NormalValue specs(std::initializer_list<const char*> names) {
  NormalValue v;
  for (const char* n : names) v.optionalSpec.append(n);
  return v;
}
NormalValue excluded(NormalValue v) {
  v.Sign = "-";
  return v;
}

// Far dates and ranks, and calendar carries across months and centuries.
TEST(EffectivityProperty, FarValuesAndCalendarCarries) {
  const std::tuple<const char*, NormalValue, NormalValue, bool> rows[] = {
      {"an open rank reaches far", ranks(10, 0), ranks(100000, 100000), true},
      {"a 13th month is January", onDay(2026, 13, 1), onDay(2027, 1, 1), true},
      {"1900 has no 29 February", onDay(1900, 2, 29), onDay(1900, 3, 1), true},
      {"2000 has a 29 February", onDay(2000, 2, 29), onDay(2000, 3, 1), false},
      {"an open start reaches far back", dates({}, day(2026, 1, 1)), onDay(1, 1, 1), true},
  };
  for (const auto& [what, value, filter, matches] : rows)
    EXPECT_EQ(oks::reference::matches({{value}}, nullptr, Values{filter}, nullptr), matches) << what;
}

// The text form: every kind of part, unions, exclusions, open ends and quoting.
TEST(EffectivityProperty, TextForm) {
  NormalValue milestones, unionOfRanks = ranks(1, 5), restricted = ranks(1, 5);
  milestones.StartMileStoneName = "Q1";
  milestones.EndMileStoneName = "Q4";
  unionOfRanks.optionalRange.append({8, 9});
  restricted.optionalSpec.append("US");
  const std::pair<EffectivityExpression, const char*> cases[] = {
      {{{dates(day(2026, 1, 1), day(2026, 12, 31)), ranks(10, 20)}, {specs({"EU"})}},
       R"([2026-01-01 .. 2026-12-31] AND RANK 10..20 OR SPEC "EU")"},
      {{{dates({}, day(2026, 12, 31))}}, "[.. 2026-12-31]"},
      {{{dates(day(2026, 1, 1, 8, 30), {})}}, "[2026-01-01T08:30:00 ..]"},
      {{{dates({}, {})}}, "[..]"},
      {{{ranks(10, 0)}}, "RANK 10.."},
      {{{unionOfRanks}}, "(RANK 1..5 OR RANK 8..9)"},
      {{{specs({"EU", "US"})}}, R"((SPEC "EU" OR SPEC "US"))"},
      {{{excluded(specs({"US"}))}}, R"(NOT SPEC "US")"},
      {{{excluded(restricted)}}, R"(NOT (RANK 1..5 AND SPEC "US"))"},
      {{{milestones}}, R"(MILESTONE "Q1" .. "Q4")"},
      {{{excluded(NormalValue{})}}, "NOT ANY"},
      {{QEM_Config::ANDTerm{}}, "ANY"},
      {{}, "ALWAYS"},
      {{{specs({R"(a"b)"})}}, R"(SPEC "a\"b")"},
  };
  for (const auto& [effectivity, text] : cases) EXPECT_EQ(renderEffectivity(effectivity), text);
}

}  // namespace
