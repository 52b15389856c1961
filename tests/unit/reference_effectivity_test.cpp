// The effectivity rules of the reference service where effectivity_property_test.cpp's small
// universe does not reach (far dates and ranks, calendar carries, inverted intervals), where
// milestone names resolve, an object's effectivity in a domain, and the text form.
#include <gtest/gtest.h>

#include <map>

#include <oks/host/reference/database.h>
#include <oks/reference/effectivity.h>
#include <oks/reference/reference_server.h>

namespace {

using oks::reference::EffectivityExpression;
using oks::reference::MileStoneValue;
using oks::reference::NormalValue;
using QEM_OrbixTypes::DateCorba;

DateCorba day(int y, int m, int d, int hour = 0, int min = 0, int sec = 0) {
  return {y, m, d, hour, min, sec};
}
DateCorba open() { return {}; }

NormalValue dates(DateCorba from, DateCorba to) {
  NormalValue v;
  v.optionalDate.append({from, to});
  return v;
}
NormalValue onDay(int y, int m, int d) { return dates(day(y, m, d), day(y, m, d)); }
NormalValue year(int y) { return dates(day(y, 1, 1), day(y, 12, 31)); }
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
NormalValue milestones(const char* start, const char* end) {
  NormalValue v;
  v.StartMileStoneName = start;
  v.EndMileStoneName = end;
  return v;
}
NormalValue excluded(NormalValue v) {
  v.Sign = "-";
  return v;
}
// One value holding several parts.
NormalValue both(NormalValue a, const NormalValue& b) {
  for (const auto& d : b.optionalDate) a.optionalDate.append(d);
  for (const auto& r : b.optionalRange) a.optionalRange.append(r);
  for (const auto& s : b.optionalSpec) a.optionalSpec.append(s);
  if (!b.StartMileStoneName.empty()) a.StartMileStoneName = b.StartMileStoneName;
  if (!b.EndMileStoneName.empty()) a.EndMileStoneName = b.EndMileStoneName;
  return a;
}

using Term = std::vector<NormalValue>;
EffectivityExpression anyOf(std::initializer_list<Term> terms) {
  EffectivityExpression e;
  for (const auto& t : terms) {
    QEM_Config::ANDTerm term;
    for (const auto& v : t) term.append(v);
    e.append(term);
  }
  return e;
}
QEMConfig::NormalValueSeq filter(std::initializer_list<NormalValue> values) {
  QEMConfig::NormalValueSeq f;
  for (const auto& v : values) f.append(v);
  return f;
}

// Milestones of the object looked at: two date milestones and a rank milestone.
const MileStoneValue* lookup(const std::string& name) {
  static const std::vector<MileStoneValue> known = [] {
    MileStoneValue q1{"Q1", "first quarter", {day(2026, 1, 1), day(2026, 3, 31)}, {}, 0};
    MileStoneValue q4{"Q4", "last quarter", {day(2026, 10, 1), day(2026, 12, 31)}, {}, 0};
    MileStoneValue june{"JUNE", "June", {day(2026, 6, 1), day(2026, 6, 30)}, {}, 0};
    MileStoneValue lot{"LOT2", "second lot", {}, {100, 199}, 1};
    return std::vector<MileStoneValue>{q1, q4, june, lot};
  }();
  for (const auto& m : known)
    if (m.Name == name) return &m;
  return nullptr;
}

struct Row {
  const char* what;
  EffectivityExpression effectivity;
  QEMConfig::NormalValueSeq filter;
  bool matches;
};

TEST(ReferenceEffectivity, MatchingTable) {
  const Row rows[] = {
      // Dates: an end day counts whole, an end with a time stops at that second; fields carry.
      {"end day covers its afternoon", anyOf({{dates(day(2026, 1, 1), day(2026, 6, 30))}}),
       filter({dates(day(2026, 6, 30, 15), day(2026, 7, 2))}), true},
      {"the next second after an end with a time", anyOf({{dates(open(), day(2026, 6, 30, 12))}}),
       filter({dates(day(2026, 6, 30, 12, 0, 1), open())}), false},
      {"the end second itself", anyOf({{dates(open(), day(2026, 6, 30, 12))}}),
       filter({dates(day(2026, 6, 30, 12), open())}), true},
      {"fields carry as on a calendar", anyOf({{onDay(2026, 2, 30)}}), filter({onDay(2026, 3, 2)}), true},
      {"open start", anyOf({{dates(open(), day(2026, 12, 31))}}), filter({onDay(1990, 1, 1)}), true},
      {"inverted dates denote nothing", anyOf({{dates(day(2026, 12, 31), day(2026, 1, 1))}}), filter({}),
       false},
      // Ranks: a toRank of 0 is open upwards, ranks start at 0.
      {"open rank", anyOf({{ranks(10, 0)}}), filter({ranks(100000, 100000)}), true},
      {"inverted ranks denote nothing", anyOf({{ranks(20, 10)}}), filter({}), false},
      {"rank 0 is a rank", anyOf({{excluded(ranks(1, 0))}}), filter({}), true},
      {"a start below 0 counts from 0", anyOf({{ranks(-5, 3)}}), filter({ranks(0, 3)}), true},
      // Each filter value against one and the same term; exclusion; milestones.
      {"no single term fits all", anyOf({{specs({"US"}), ranks(1, 5)}, {specs({"EU"}), ranks(10, 20)}}),
       filter({specs({"US"}), ranks(15, 15)}), false},
      {"a day and its complement", anyOf({{excluded(dates(day(2027, 1, 1), open()))}}),
       filter({excluded(dates(open(), day(2026, 12, 31)))}), false},
      {"open after a rank milestone", anyOf({{milestones("LOT2", "")}}), filter({ranks(5000, 5000)}), true},
      {"before a rank milestone", anyOf({{milestones("LOT2", "")}}), filter({ranks(99, 99)}), false},
      {"date and rank milestones do not mix", anyOf({{milestones("Q1", "LOT2")}}), filter({}), false},
      {"outside the dates, inside the milestone",
       anyOf({{both(dates(day(2026, 1, 1), day(2026, 1, 31)), milestones("JUNE", "JUNE"))}}),
       filter({onDay(2026, 6, 15)}), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(oks::reference::matches(row.effectivity, lookup, row.filter, lookup), row.matches);
  }
}

TEST(ReferenceEffectivity, IntersectingEffectivities) {
  EXPECT_TRUE(
      oks::reference::intersects(anyOf({{year(2026)}}), lookup, anyOf({{onDay(2026, 12, 31)}}), lookup));
  EXPECT_FALSE(oks::reference::intersects(anyOf({{year(2026)}}), lookup, anyOf({{year(2027)}}), lookup));
  EXPECT_TRUE(oks::reference::intersects(anyOf({{year(2027)}, {specs({"EU"})}}), lookup,
                                         anyOf({{year(2026)}}), lookup));
  EXPECT_TRUE(oks::reference::intersects(anyOf({}), lookup, anyOf({{ranks(1, 1)}}), lookup));
  EXPECT_FALSE(oks::reference::intersects(anyOf({}), lookup, anyOf({{ranks(2, 1)}}), lookup));
}

// An owner chain: specification PS under type PT under root class R; the operation works on view
// CV under another root class S.
class Chain : public oks::reference::OwnerChain {
 public:
  std::map<std::string, std::string> owners{{"PS", "PT"}, {"PT", "R"}, {"CV", "S"}};
  std::map<std::string, std::vector<std::string>> names{
      {"PS", {"A"}}, {"PT", {"A", "B"}}, {"R", {"C"}}, {"CV", {"C", "D"}}, {"S", {"E"}}};

  std::string ownerOf(const std::string& object) const override {
    auto found = owners.find(object);
    return found == owners.end() ? "" : found->second;
  }
  QEMConfig::MileStoneValueSeq milestonesOn(const std::string& object) const override {
    QEMConfig::MileStoneValueSeq out;
    auto found = names.find(object);
    if (found != names.end())
      for (const auto& n : found->second) out.append(MileStoneValue{n, object, {}, {}, 0});
    return out;
  }
};

// Where a name resolves: the object defining it, or "-" for none.
std::string whereFound(const oks::reference::MilestoneScope& scope, const std::string& name) {
  const MileStoneValue* m = scope.find(name);
  return m ? m->nlsRep : "-";
}

TEST(ReferenceEffectivity, MilestoneNamesResolveNearestFirst) {
  Chain chain;
  // A value's names: the object, its owners, then the operation's object, not that one's owners.
  auto values = oks::reference::valueMilestones(chain, "PS", "CV");
  EXPECT_EQ(whereFound(values, "A"), "PS");
  EXPECT_EQ(whereFound(values, "B"), "PT");
  EXPECT_EQ(whereFound(values, "C"), "R");
  EXPECT_EQ(whereFound(values, "D"), "CV");
  EXPECT_EQ(whereFound(values, "E"), "-");
  EXPECT_EQ(whereFound(values, "a"), "-");
  // A filter's names: the operation's object, then its owners.
  auto filterNames = oks::reference::filterMilestones(chain, "CV");
  EXPECT_EQ(whereFound(filterNames, "C"), "CV");
  EXPECT_EQ(whereFound(filterNames, "E"), "S");
  EXPECT_EQ(whereFound(filterNames, "A"), "-");
  ASSERT_EQ(filterNames.all().size(), 3u);
  // An owner chain that loops ends where it comes back.
  chain.owners["R"] = "PS";
  EXPECT_EQ(oks::reference::valueMilestones(chain, "PS", "").all().size(), 3u);
}

TEST(ReferenceEffectivity, AnObjectsEffectivityInADomain) {
  using oks::reference::effectivityIn;
  using oks::reference::Holdings;
  using oks::reference::statesEffectivity;
  auto text = [](const oks::reference::ObjectEffectivity& e) {
    return e.effective ? oks::reference::renderEffectivity(e.terms) : "not effective";
  };
  QEMConfig::NormalValueSeq none;
  QEMConfig::NormalValueSeq values = filter({year(2026)});
  const std::string us = "US", all;
  QEMConfig::DomainEffectivitySeq noApplicability;

  // Values stated for one domain alone.
  Holdings usOnly{values, us, noApplicability};
  EXPECT_EQ(text(effectivityIn(usOnly, "US")), "[2026-01-01 .. 2026-12-31]");
  EXPECT_EQ(text(effectivityIn(usOnly, "")), "[2026-01-01 .. 2026-12-31]");
  EXPECT_EQ(text(effectivityIn(usOnly, "EU")), "not effective");
  EXPECT_FALSE(oks::reference::effectiveUnder(effectivityIn(usOnly, "EU"), lookup, {}, lookup));

  // Nothing stated, or an applicability without AND-terms: no effectivity, no restriction.
  QEMConfig::DomainEffectivitySeq emptyEu(1);
  emptyEu[0].Domain = "EU";
  EXPECT_FALSE(statesEffectivity({none, all, noApplicability}));
  EXPECT_FALSE(statesEffectivity({none, all, emptyEu}));
  EXPECT_EQ(text(effectivityIn({none, all, emptyEu}, "US")), "ALWAYS");
  EXPECT_TRUE(oks::reference::domainsNamed({none, all, emptyEu}).empty());

  // Beside a stated effectivity, a fitting applicability without AND-terms leaves the values
  // alone; values for another domain leave an AND-term without values.
  QEMConfig::DomainEffectivitySeq mixed = emptyEu;
  mixed.append({"", "", anyOf({{ranks(1, 5)}})});
  Holdings held{values, all, mixed};
  EXPECT_EQ(text(effectivityIn(held, "EU")),
            "[2026-01-01 .. 2026-12-31] OR [2026-01-01 .. 2026-12-31] AND RANK 1..5");
  EXPECT_EQ(text(effectivityIn(held, "US")), "[2026-01-01 .. 2026-12-31] AND RANK 1..5");
  EXPECT_EQ(text(effectivityIn({values, us, mixed}, "EU")), "ANY OR RANK 1..5");
  EXPECT_EQ(oks::reference::domainsNamed(held), (std::vector<std::string>{"", "EU"}));

  // No object defines nothing.
  auto database = oks::host::Database::open("", oks::host::Database::Mode::Temporary);
  oks::reference::ReferenceServer server(*database);
  unsigned char defined = 9;
  ASSERT_EQ(server.isEffectivityDefined(defined, {}), S_OK);
  EXPECT_EQ(defined, 0);
}

TEST(ReferenceEffectivity, TextForm) {
  struct Case {
    EffectivityExpression effectivity;
    const char* text;
  };
  const Case cases[] = {
      {anyOf({{year(2026), ranks(10, 20)}, {specs({"EU"})}}),
       R"([2026-01-01 .. 2026-12-31] AND RANK 10..20 OR SPEC "EU")"},
      {anyOf({{dates(open(), day(2026, 12, 31))}}), "[.. 2026-12-31]"},
      {anyOf({{dates(day(2026, 1, 1, 8, 30), open())}}), "[2026-01-01T08:30:00 ..]"},
      {anyOf({{dates(open(), open())}}), "[..]"},
      {anyOf({{ranks(10, 0)}}), "RANK 10.."},
      {anyOf({{both(ranks(1, 5), ranks(8, 9))}}), "(RANK 1..5 OR RANK 8..9)"},
      {anyOf({{specs({"EU", "US"})}}), R"((SPEC "EU" OR SPEC "US"))"},
      {anyOf({{excluded(specs({"US"}))}}), R"(NOT SPEC "US")"},
      {anyOf({{excluded(both(ranks(1, 5), specs({"US"})))}}), R"(NOT (RANK 1..5 AND SPEC "US"))"},
      {anyOf({{milestones("Q1", "Q4")}}), R"(MILESTONE "Q1" .. "Q4")"},
      {anyOf({{milestones("", "Q4")}}), R"(MILESTONE .. "Q4")"},
      {anyOf({{NormalValue{}}}), "ANY"},
      {anyOf({{excluded(NormalValue{})}}), "NOT ANY"},
      {anyOf({{}}), "ANY"},
      {anyOf({}), "ALWAYS"},
      {anyOf({{specs({R"(a"b)"})}}), R"(SPEC "a\"b")"},
  };
  for (const auto& c : cases) EXPECT_EQ(oks::reference::renderEffectivity(c.effectivity), c.text);
}

}  // namespace
