#include <algorithm>
#include <cstdio>
#include <limits>
#include <set>

#include <oks/reference/effectivity.h>

namespace oks::reference {

namespace {

constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kHighest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kSecondsPerDay = 86400;

struct Interval {
  std::int64_t low;
  std::int64_t high;
};

// One dimension of a value: the intersection of its parts, each the union of closed intervals;
// no part at all places no restriction.
struct Dimension {
  std::vector<std::vector<Interval>> parts;

  bool contains(std::int64_t x) const {
    return std::all_of(parts.begin(), parts.end(), [x](const std::vector<Interval>& part) {
      return std::any_of(part.begin(), part.end(),
                         [x](const Interval& i) { return i.low <= x && x <= i.high; });
    });
  }
};

// A point of the effectivity space; a null specification name stands for any name no value
// mentions.
struct Point {
  std::int64_t date;
  std::int64_t rank;
  const std::string* spec;
};

// A normal value with its milestones resolved.
struct Resolved {
  bool excludes = false;
  bool denotesNothing = false;
  Dimension dates;
  Dimension ranks;
  bool specRestricted = false;
  std::vector<std::string> specs;

  bool contains(const Point& p) const {
    bool inside =
        !denotesNothing && dates.contains(p.date) && ranks.contains(p.rank) &&
        (!specRestricted || (p.spec && std::find(specs.begin(), specs.end(), *p.spec) != specs.end()));
    return excludes ? !inside : inside;
  }
};

std::int64_t rankEnd(CORBA::Long toRank) { return toRank == 0 ? kHighest : toRank; }
bool isRankMilestone(const MileStoneValue& m) { return m.type == 1; }

// The span of the value's milestones: one more part of the date or rank dimension.
void resolveMilestones(const NormalValue& value, const MilestoneLookup& lookup, Resolved& r) {
  auto find = [&lookup](const std::string& name) -> const MileStoneValue* {
    return name.empty() || !lookup ? nullptr : lookup(name);
  };
  const MileStoneValue* start = find(value.StartMileStoneName);
  const MileStoneValue* end = find(value.EndMileStoneName);
  if ((!value.StartMileStoneName.empty() && !start) || (!value.EndMileStoneName.empty() && !end) ||
      (start && end && isRankMilestone(*start) != isRankMilestone(*end))) {
    r.denotesNothing = true;
    return;
  }
  bool rank = isRankMilestone(start ? *start : *end);
  Interval span{kLowest, kHighest};
  if (start) span.low = rank ? start->optionalRange.fromRank : dateKey(start->optionalDate.fromDate, false);
  if (end) span.high = rank ? rankEnd(end->optionalRange.toRank) : dateKey(end->optionalDate.toDate, true);
  (rank ? r.ranks : r.dates).parts.push_back({span});
}

Resolved resolve(const NormalValue& value, const MilestoneLookup& lookup) {
  Resolved r;
  r.excludes = value.Sign == "-";
  if (value.optionalDate.length() > 0) {
    auto& part = r.dates.parts.emplace_back();
    for (const auto& d : value.optionalDate)
      part.push_back({dateKey(d.fromDate, false), dateKey(d.toDate, true)});
  }
  if (value.optionalRange.length() > 0) {
    auto& part = r.ranks.parts.emplace_back();
    for (const auto& range : value.optionalRange) part.push_back({range.fromRank, rankEnd(range.toRank)});
  }
  for (const auto& name : value.optionalSpec) {
    r.specRestricted = true;
    r.specs.push_back(name);
  }
  if (!value.StartMileStoneName.empty() || !value.EndMileStoneName.empty())
    resolveMilestones(value, lookup, r);
  return r;
}

template <class Seq>
std::vector<Resolved> resolveAll(const Seq& values, const MilestoneLookup& lookup) {
  std::vector<Resolved> out;
  for (const auto& v : values) out.push_back(resolve(v, lookup));
  return out;
}

// The points where membership can change along one dimension, from its lowest point on: the
// start of every interval and the point just after its end.
std::vector<std::int64_t> candidates(const std::vector<Resolved>& values, Dimension Resolved::*dimension,
                                     std::int64_t lowest) {
  std::vector<std::int64_t> points{lowest};
  for (const auto& v : values)
    for (const auto& part : (v.*dimension).parts)
      for (const auto& i : part) {
        if (i.low > lowest) points.push_back(i.low);
        if (i.high < kHighest && i.high + 1 > lowest) points.push_back(i.high + 1);
      }
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

// Whether some point lies in every one of the values. Dates run over all whole seconds, ranks
// from 0 up.
bool meet(const std::vector<Resolved>& values) {
  for (const auto& r : values)
    if (r.denotesNothing && !r.excludes) return false;
  std::vector<const std::string*> specs{nullptr};
  for (const auto& r : values)
    for (const auto& name : r.specs) specs.push_back(&name);
  auto dates = candidates(values, &Resolved::dates, kLowest);
  auto ranks = candidates(values, &Resolved::ranks, 0);
  for (auto date : dates)
    for (auto rank : ranks)
      for (const auto* spec : specs) {
        Point p{date, rank, spec};
        if (std::all_of(values.begin(), values.end(), [&p](const Resolved& r) { return r.contains(p); }))
          return true;
      }
  return false;
}

std::vector<Resolved> joined(std::vector<Resolved> a, const std::vector<Resolved>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool anyTermMeets(const EffectivityExpression& e, const MilestoneLookup& names) {
  return std::any_of(e.begin(), e.end(),
                     [&](const QEM_Config::ANDTerm& t) { return meet(resolveAll(t, names)); });
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Days from 1970-01-01 to the first of a month of the proleptic Gregorian calendar.
std::int64_t daysToMonth(std::int64_t year, std::int64_t month) {
  std::int64_t months = year * 12 + (month - 1);
  std::int64_t y = floorDiv(months, 12);
  std::int64_t m = months - y * 12 + 1;
  y -= m <= 2;
  std::int64_t era = floorDiv(y, 400);
  std::int64_t yearOfEra = y - era * 400;
  std::int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
  std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

std::string twoDigits(CORBA::Long n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", static_cast<int>(n));
  return buffer;
}

std::string renderDate(const QEM_OrbixTypes::DateCorba& d) {
  char year[16];
  std::snprintf(year, sizeof year, "%04d", static_cast<int>(d.year));
  std::string text = std::string(year) + "-" + twoDigits(d.month) + "-" + twoDigits(d.day);
  if (d.hour || d.min || d.sec)
    text += "T" + twoDigits(d.hour) + ":" + twoDigits(d.min) + ":" + twoDigits(d.sec);
  return text;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string join(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : separator) + item;
  return out;
}

// One part of a value: a single item as it is, several as a parenthesised union.
template <class Seq, class Render>
void addPart(std::vector<std::string>& parts, const Seq& items, Render render) {
  std::vector<std::string> texts;
  for (const auto& item : items) texts.push_back(render(item));
  if (texts.size() == 1) parts.push_back(texts.front());
  if (texts.size() > 1) parts.push_back("(" + join(texts, " OR ") + ")");
}

}  // namespace

void MilestoneScope::addFarther(const QEMConfig::MileStoneValueSeq& milestones) {
  for (const auto& m : milestones)
    if (!find(m.Name)) known_.push_back(m);
}

void MilestoneScope::addWithOwners(const OwnerChain& chain, const std::string& object) {
  std::set<std::string> seen;
  for (std::string at = object; !at.empty() && seen.insert(at).second; at = chain.ownerOf(at))
    addFarther(chain.milestonesOn(at));
}

const MileStoneValue* MilestoneScope::find(const std::string& name) const {
  auto found =
      std::find_if(known_.begin(), known_.end(), [&name](const MileStoneValue& m) { return m.Name == name; });
  return found == known_.end() ? nullptr : &*found;
}

MilestoneLookup MilestoneScope::lookup() const {
  return [this](const std::string& name) { return find(name); };
}

MilestoneScope valueMilestones(const OwnerChain& chain, const std::string& object,
                               const std::string& context) {
  MilestoneScope scope;
  scope.addWithOwners(chain, object);
  if (!context.empty()) scope.addFarther(chain.milestonesOn(context));
  return scope;
}

MilestoneScope filterMilestones(const OwnerChain& chain, const std::string& context) {
  MilestoneScope scope;
  scope.addWithOwners(chain, context);
  return scope;
}

bool isOpenDate(const QEM_OrbixTypes::DateCorba& d) { return d == QEM_OrbixTypes::DateCorba{}; }

std::int64_t dateKey(const QEM_OrbixTypes::DateCorba& d, bool isEnd) {
  if (isOpenDate(d)) return isEnd ? kHighest : kLowest;
  std::int64_t days = daysToMonth(d.year, d.month) + (std::int64_t{d.day} - 1);
  std::int64_t key = days * kSecondsPerDay + std::int64_t{d.hour} * 3600 + std::int64_t{d.min} * 60 + d.sec;
  if (isEnd && d.hour == 0 && d.min == 0 && d.sec == 0) key += kSecondsPerDay - 1;
  return key;
}

bool matches(const EffectivityExpression& effectivity, const MilestoneLookup& names,
             const QEMConfig::NormalValueSeq& filter, const MilestoneLookup& filterNames) {
  if (effectivity.length() == 0) return true;
  if (filter.length() == 0) return anyTermMeets(effectivity, names);
  std::vector<std::vector<Resolved>> filterValues;
  for (const auto& f : filter) filterValues.push_back({resolve(f, filterNames)});
  return std::any_of(effectivity.begin(), effectivity.end(), [&](const QEM_Config::ANDTerm& term) {
    auto values = resolveAll(term, names);
    return std::all_of(filterValues.begin(), filterValues.end(),
                       [&](const std::vector<Resolved>& f) { return meet(joined(values, f)); });
  });
}

bool intersects(const EffectivityExpression& a, const MilestoneLookup& aNames, const EffectivityExpression& b,
                const MilestoneLookup& bNames) {
  if (a.length() == 0) return b.length() == 0 || anyTermMeets(b, bNames);
  if (b.length() == 0) return anyTermMeets(a, aNames);
  for (const auto& ta : a) {
    auto values = resolveAll(ta, aNames);
    for (const auto& tb : b)
      if (meet(joined(values, resolveAll(tb, bNames)))) return true;
  }
  return false;
}

bool statesEffectivity(const Holdings& h) {
  return h.values.length() > 0 || std::any_of(h.applicability.begin(), h.applicability.end(),
                                              [](const QEM_Config::XEffectivityValues& entry) {
                                                return entry.Effectivity.length() > 0;
                                              });
}

ObjectEffectivity effectivityIn(const Holdings& h, const std::string& domain, bool exactDomain) {
  ObjectEffectivity e;
  if (!statesEffectivity(h)) return e;
  auto fits = [&](const std::string& d) {
    return d.empty() || d == domain || (domain.empty() && !exactDomain);
  };
  bool valuesFit = h.values.length() > 0 && fits(h.valuesDomain);
  const QEM_Config::ANDTerm values = valuesFit ? h.values : QEM_Config::ANDTerm{};
  bool applicabilityFits = false;
  bool valuesAlone = false;
  for (const auto& entry : h.applicability) {
    if (!fits(entry.Domain)) continue;
    applicabilityFits = true;
    if (entry.Effectivity.length() == 0 && !valuesAlone) {
      valuesAlone = true;
      e.terms.append(values);
    }
    for (const auto& term : entry.Effectivity) {
      QEM_Config::ANDTerm joinedTerm = values;
      for (const auto& v : term) joinedTerm.append(v);
      e.terms.append(std::move(joinedTerm));
    }
  }
  if (!applicabilityFits) {
    if (valuesFit)
      e.terms.append(values);
    else
      e.effective = false;
  }
  return e;
}

bool effectiveUnder(const ObjectEffectivity& effectivity, const MilestoneLookup& names,
                    const QEMConfig::NormalValueSeq& filter, const MilestoneLookup& filterNames) {
  return effectivity.effective && matches(effectivity.terms, names, filter, filterNames);
}

std::vector<std::string> domainsNamed(const Holdings& h) {
  std::vector<std::string> domains;
  if (!statesEffectivity(h)) return domains;
  auto note = [&domains](const std::string& d) {
    if (std::find(domains.begin(), domains.end(), d) == domains.end()) domains.push_back(d);
  };
  if (h.values.length() > 0) note(h.valuesDomain);
  for (const auto& entry : h.applicability) note(entry.Domain);
  return domains;
}

std::string renderValue(const NormalValue& value) {
  std::vector<std::string> parts;
// GCC 12 at -O3 reports a false -Wrestrict on this concatenation of std::strings (an overlap of
// a copy into a string that the inlined operator+ just made); the concatenation is sound.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
  addPart(parts, value.optionalDate, [](const QEM_ConfigTypes::DateValue& d) {
    return "[" + (isOpenDate(d.fromDate) ? std::string() : renderDate(d.fromDate) + " ") + ".." +
           (isOpenDate(d.toDate) ? std::string() : " " + renderDate(d.toDate)) + "]";
  });
#pragma GCC diagnostic pop
  addPart(parts, value.optionalRange, [](const QEM_ConfigTypes::RangeValue& r) {
    return "RANK " + std::to_string(r.fromRank) + ".." +
           (r.toRank == 0 ? std::string() : std::to_string(r.toRank));
  });
  addPart(parts, value.optionalSpec, [](const std::string& name) { return "SPEC " + quoted(name); });
  if (!value.StartMileStoneName.empty() || !value.EndMileStoneName.empty())
    parts.push_back(
        "MILESTONE " +
        (value.StartMileStoneName.empty() ? std::string() : quoted(value.StartMileStoneName) + " ") + ".." +
        (value.EndMileStoneName.empty() ? std::string() : " " + quoted(value.EndMileStoneName)));
  std::string body = parts.empty() ? "ANY" : join(parts, " AND ");
  if (value.Sign != "-") return body;
  return parts.size() > 1 ? "NOT (" + body + ")" : "NOT " + body;
}

std::string renderTerm(const QEM_Config::ANDTerm& term) {
  std::vector<std::string> values;
  for (const auto& v : term) values.push_back(renderValue(v));
  return values.empty() ? "ANY" : join(values, " AND ");
}

std::string renderEffectivity(const EffectivityExpression& effectivity) {
  std::vector<std::string> terms;
  for (const auto& t : effectivity) terms.push_back(renderTerm(t));
  return terms.empty() ? "ALWAYS" : join(terms, " OR ");
}

}  // namespace oks::reference
