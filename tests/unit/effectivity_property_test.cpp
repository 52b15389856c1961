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
// names and one other name for every name.
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
  std::tm t{};
  t.tm_year = d.year - 1900;
  t.tm_mon = d.month - 1;
  t.tm_mday = d.day;
  t.tm_hour = d.hour;
  t.tm_min = d.min;
  t.tm_sec = d.sec;
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

// The points of each instant, each rank and each name: point (t, r, n) is bit (t * kRanks + r) *
// kNames + n.
struct Along {
  Set instants[kInstantCount], ranks[kRanks], names[kNames];
  Along() {
    for (std::size_t t = 0, i = 0; t < kInstantCount; ++t)
      for (int r = 0; r < kRanks; ++r)
        for (int n = 0; n < kNames; ++n, ++i) {
          instants[t].set(i);
          ranks[r].set(i);
          names[n].set(i);
        }
  }
};
const Along kAlong;

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
  Set dates, ranks, names;
  for (std::size_t t = 0; t < kInstants.size(); ++t)
    if (inDates(kInstants[t])) dates |= kAlong.instants[t];
  for (int r = 0; r < kRanks; ++r)
    if (inRankParts(r)) ranks |= kAlong.ranks[r];
  for (int n = 0; n < kNames; ++n)
    if (inNames(n)) names |= kAlong.names[n];
  Set s = named && unresolved ? Set() : dates & ranks & names;
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

// --- The text form, read back ---------------------------------------------------------------

class TextReader {
 public:
  explicit TextReader(std::string text) : text_(std::move(text)) {}

  // An effectivity; false when the text does not follow the grammar.
  bool effectivity(EffectivityExpression& e) {
    if (take("ALWAYS")) return done();
    do {
      QEM_Config::ANDTerm term;
      do
        if (!value(term)) return false;
      while (take(" AND "));
      e.append(term);
    } while (take(" OR "));
    return done();
  }

 private:
  bool done() const { return at_ == text_.size(); }
  bool take(const std::string& word) {
    if (text_.compare(at_, word.size(), word) != 0) return false;
    at_ += word.size();
    return true;
  }
  bool number(CORBA::Long& n) {
    std::size_t used = 0;
    try {
      n = std::stoi(text_.substr(at_), &used);
    } catch (const std::exception&) {
      return false;
    }
    at_ += used;
    return true;
  }
  bool quoted(std::string& out) {
    if (!take("\"")) return false;
    for (; at_ < text_.size() && text_[at_] != '"'; ++at_) {
      if (text_[at_] == '\\') ++at_;
      if (at_ < text_.size()) out += text_[at_];
    }
    return take("\"");
  }
  bool date(DateCorba& d) {
    CORBA::Long* fields[] = {&d.year, &d.month, &d.day, &d.hour, &d.min, &d.sec};
    for (int i = 0; i < 6; ++i) {
      if (i == 3 && !take("T")) return true;
      if (i > 0 && i != 3 && !take(i < 3 ? "-" : ":")) return false;
      if (!number(*fields[i])) return false;
    }
    return true;
  }
  bool item(NormalValue& v) {
    if (take("[")) {
      DateValue d;
      if (!take("..") && !(date(d.fromDate) && take(" .."))) return false;
      if (take(" ") && !date(d.toDate)) return false;
      v.optionalDate.append(d);
      return take("]");
    }
    if (take("RANK ")) {
      RangeValue r;
      if (!number(r.fromRank) || !take("..")) return false;
      if (at_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-') &&
          !number(r.toRank))
        return false;
      v.optionalRange.append(r);
      return true;
    }
    if (take("SPEC ")) {
      std::string name;
      if (!quoted(name)) return false;
      v.optionalSpec.append(name);
      return true;
    }
    if (!take("MILESTONE ")) return false;
    if (!take("..")) {
      if (!quoted(v.StartMileStoneName) || !take(" ..")) return false;
    }
    return !take(" \"") || (--at_, quoted(v.EndMileStoneName));
  }
  bool part(NormalValue& v) {
    if (!take("(")) return item(v);
    do
      if (!item(v)) return false;
    while (take(" OR "));
    return take(")");
  }
  bool parts(NormalValue& v) {
    do
      if (!part(v)) return false;
    while (take(" AND "));
    return true;
  }
  bool value(QEM_Config::ANDTerm& term) {
    NormalValue v;
    if (take("NOT ")) v.Sign = "-";
    // 'NOT (' parts ')' first, else one part, which may be a parenthesised union.
    std::size_t start = at_;
    NormalValue grouped = v;
    if (!v.Sign.empty() && take("(") && parts(grouped) && take(")")) return term.append(grouped), true;
    at_ = start;
    if (!take("ANY") && !part(v)) return false;
    term.append(v);
    return true;
  }

  std::string text_;
  std::size_t at_ = 0;
};

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
    if (isEnd) {
      const auto& time = kEndTimes[below(4)];
      d.hour = time[0], d.min = time[1], d.sec = time[2];
    } else {
      const auto& time = kStartTimes[below(3)];
      d.hour = time[0], d.min = time[1], d.sec = time[2];
    }
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

// One line per domain named, each saying the effectivity in exactly that domain.
void checkText(const Case& c, Served& served, const XNodeSeq& both, std::ostream& out) {
  ZORUnicodeString text;
  served.server.displayPtSpecEffectivity(both, text);
  std::istringstream lines(text.str());
  std::string line;
  for (auto [label, holding, place] :
       {std::tuple{"PS \"P\" A", &c.spec, P}, std::tuple{"PT \"T\"", &c.type, T}}) {
    std::vector<std::string> domains;
    if (states(*holding) && holding->values.length() > 0) domains.push_back(holding->valuesDomain);
    for (const auto& a : holding->applicability)
      if (states(*holding) && std::find(domains.begin(), domains.end(), a.Domain) == domains.end())
        domains.push_back(a.Domain);
    if (domains.empty()) domains.push_back("ALWAYS");
    for (const auto& d : domains) {
      std::getline(lines, line);
      std::string head = std::string(label) + (d.empty() || d == "ALWAYS" ? "" : " [" + d + "]") + ": ";
      EffectivityExpression read;
      if (line.compare(0, head.size(), head) != 0 ||
          !TextReader(line.substr(head.size())).effectivity(read)) {
        out << "text \"" << line << "\" is not \"" << head << "\" and an effectivity\n";
        continue;
      }
      if (renderEffectivity(read) != line.substr(head.size()))
        out << "text \"" << line << "\" reads back otherwise\n";
      Scope names = valueScope(c, place);
      Stated expected = d == "ALWAYS" ? Stated{} : statedIn(*holding, d, true, names);
      std::vector<Set> said;
      for (const auto& term : read) said.push_back(termPoints(term, names));
      if (expected.kind == Stated::Never || distinct(said) != distinct(expected.terms))
        out << "text \"" << line << "\" says something else\n";
    }
  }
  if (std::getline(lines, line)) out << "text has a line too many: \"" << line << "\"\n";
}

// What the service answers otherwise than the rules; empty when they agree.
std::string disagreement(const Case& c) {
  Served served(c);
  XNodeSeq both;
  both.append(served.server.xnodeOf(*served.objects[P]));
  both.append(served.server.xnodeOf(*served.objects[T]));
  std::ostringstream out;
  checkFilter(c, served, out);
  checkVerify(c, served, out);
  checkDefined(c, served, both, out);
  checkText(c, served, both, out);
  return out.str();
}

// --- The report ------------------------------------------------------------------------------

std::string describe(const Case& c) {
  std::ostringstream out;
  auto holding = [&out](const char* name, const Holding& h) {
    if (h.values.length())
      out << name << " values [" << h.valuesDomain << "]: " << renderTerm(h.values) << "\n";
    for (const auto& a : h.applicability)
      out << name << " applicability [" << a.Domain << "]: " << renderEffectivity(a.Effectivity) << "\n";
  };
  holding("P", c.spec);
  holding("T", c.type);
  for (int p = 0; p < kPlaces; ++p)
    for (const auto& m : c.milestones[p]) {
      NormalValue span;
      if (m.type == 1)
        span.optionalRange.append(m.optionalRange);
      else
        span.optionalDate.append(m.optionalDate);
      out << "milestone " << m.Name << " on " << kPlaceNames[p] << ": " << renderValue(span) << "\n";
    }
  out << "operation on " << kPlaceNames[c.context] << ", domain \"" << c.domain << "\", filter "
      << (c.filter.length() ? renderTerm(c.filter) : "none") << "\n";
  return out.str();
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
    ADD_FAILURE() << "seed " << seed << ", case " << i << ":\n" << describe(c) << differs;
    return;
  }
}

}  // namespace
