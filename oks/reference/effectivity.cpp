#include <algorithm>
#include <cstdio>
#include <limits>

#include <oks/reference/effectivity.h>

namespace oks::reference {

namespace {

constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kHighest = std::numeric_limits<std::int64_t>::max();

struct Interval {
  std::int64_t low;
  std::int64_t high;
};

// One dimension of a value: unrestricted, or the union of closed intervals.
struct Dimension {
  bool restricted = false;
  std::vector<Interval> intervals;

  void add(std::int64_t low, std::int64_t high) {
    restricted = true;
    intervals.push_back({low, high});
  }
  bool contains(std::int64_t x) const {
    return !restricted || std::any_of(intervals.begin(), intervals.end(),
                                      [x](const Interval& i) { return i.low <= x && x <= i.high; });
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
  std::int64_t low = kLowest;
  std::int64_t high = kHighest;
  if (start) low = rank ? start->optionalRange.fromRank : dateKey(start->optionalDate.fromDate, false);
  if (end) high = rank ? rankEnd(end->optionalRange.toRank) : dateKey(end->optionalDate.toDate, true);
  (rank ? r.ranks : r.dates).add(low, high);
}

Resolved resolve(const NormalValue& value, const MilestoneLookup& lookup) {
  Resolved r;
  r.excludes = value.Sign == "-";
  for (const auto& d : value.optionalDate) r.dates.add(dateKey(d.fromDate, false), dateKey(d.toDate, true));
  for (const auto& range : value.optionalRange) r.ranks.add(range.fromRank, rankEnd(range.toRank));
  for (const auto& name : value.optionalSpec) {
    r.specRestricted = true;
    r.specs.push_back(name);
  }
  if (!value.StartMileStoneName.empty() || !value.EndMileStoneName.empty())
    resolveMilestones(value, lookup, r);
  return r;
}

// The points where membership can change along one dimension: the start of every interval,
// the point just after its end, and the lowest point.
std::vector<std::int64_t> candidates(const std::vector<Resolved>& values, Dimension Resolved::*dimension) {
  std::vector<std::int64_t> points{kLowest};
  for (const auto& v : values)
    for (const auto& i : (v.*dimension).intervals) {
      points.push_back(i.low);
      if (i.high < kHighest) points.push_back(i.high + 1);
    }
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
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

bool isOpenDate(const QEM_OrbixTypes::DateCorba& d) { return d == QEM_OrbixTypes::DateCorba{}; }

std::int64_t dateKey(const QEM_OrbixTypes::DateCorba& d, bool isEnd) {
  if (isOpenDate(d)) return isEnd ? kHighest : kLowest;
  std::int64_t key = d.year;
  for (CORBA::Long field : {d.month, d.day, d.hour, d.min, d.sec}) key = key * 100 + field;
  if (isEnd && d.hour == 0 && d.min == 0 && d.sec == 0) key += 235959;
  return key;
}

bool valuesMeet(const std::vector<const NormalValue*>& values, const MilestoneLookup& milestones) {
  std::vector<Resolved> resolved;
  for (const auto* v : values) {
    resolved.push_back(resolve(*v, milestones));
    if (resolved.back().denotesNothing && !resolved.back().excludes) return false;
  }
  std::vector<const std::string*> specs{nullptr};
  for (const auto& r : resolved)
    for (const auto& name : r.specs) specs.push_back(&name);
  auto dates = candidates(resolved, &Resolved::dates);
  auto ranks = candidates(resolved, &Resolved::ranks);
  for (auto date : dates)
    for (auto rank : ranks)
      for (const auto* spec : specs) {
        Point p{date, rank, spec};
        if (std::all_of(resolved.begin(), resolved.end(), [&p](const Resolved& r) { return r.contains(p); }))
          return true;
      }
  return false;
}

namespace {

std::vector<const NormalValue*> pointers(const QEM_Config::ANDTerm& term) {
  std::vector<const NormalValue*> out;
  for (const auto& v : term) out.push_back(&v);
  return out;
}

bool anyTermMeets(const EffectivityExpression& e, const MilestoneLookup& milestones) {
  return std::any_of(e.begin(), e.end(),
                     [&](const QEM_Config::ANDTerm& t) { return valuesMeet(pointers(t), milestones); });
}

}  // namespace

bool matches(const EffectivityExpression& effectivity, const QEMConfig::NormalValueSeq& filter,
             const MilestoneLookup& milestones) {
  if (effectivity.length() == 0) return true;
  if (filter.length() == 0) return anyTermMeets(effectivity, milestones);
  for (const auto& term : effectivity) {
    auto values = pointers(term);
    bool compatible = std::all_of(filter.begin(), filter.end(), [&](const NormalValue& f) {
      auto withFilter = values;
      withFilter.push_back(&f);
      return valuesMeet(withFilter, milestones);
    });
    if (compatible) return true;
  }
  return false;
}

bool intersects(const EffectivityExpression& a, const EffectivityExpression& b,
                const MilestoneLookup& milestones) {
  if (a.length() == 0) return b.length() == 0 || anyTermMeets(b, milestones);
  if (b.length() == 0) return anyTermMeets(a, milestones);
  for (const auto& ta : a)
    for (const auto& tb : b) {
      auto values = pointers(ta);
      for (const auto& v : tb) values.push_back(&v);
      if (valuesMeet(values, milestones)) return true;
    }
  return false;
}

std::string renderValue(const NormalValue& value) {
  std::vector<std::string> parts;
  addPart(parts, value.optionalDate, [](const QEM_ConfigTypes::DateValue& d) {
    return "[" + (isOpenDate(d.fromDate) ? std::string() : renderDate(d.fromDate) + " ") + ".." +
           (isOpenDate(d.toDate) ? std::string() : " " + renderDate(d.toDate)) + "]";
  });
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
