// Effectivity resolution and its text form.
//
// A normal value denotes a set of points in three dimensions: date, rank and specification name.
// Each part it gives (dates, ranks, specification names, a milestone span) restricts one
// dimension to the union of what it lists; a part left empty places no restriction. A value
// whose Sign is "-" denotes the complement of that set. An AND-term denotes the intersection
// of its values, and an effectivity the union of its AND-terms.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <oks/types/qem_config.h>

namespace oks::reference {

using QEM_Config::EffectivityExpression;
using QEM_Config::MileStoneValue;
using QEM_Config::NormalValue;

// Finds a milestone by name for the object being looked at; null when it has none of that name.
using MilestoneLookup = std::function<const MileStoneValue*(const std::string&)>;

// The key of a date in chronological order. A date whose fields are all zero is an open end:
// the lowest key as a start, the highest as an end. An end date without a time of day stands
// for the whole day (its last second).
std::int64_t dateKey(const QEM_OrbixTypes::DateCorba& date, bool isEnd);
bool isOpenDate(const QEM_OrbixTypes::DateCorba& date);

// Whether some point lies in every one of the values.
bool valuesMeet(const std::vector<const NormalValue*>& values, const MilestoneLookup& milestones);

// Whether one AND-term of the effectivity is compatible with every filter value (meets it in
// at least one point). An effectivity without AND-terms places no restriction and matches
// any filter; with no filter values an AND-term matches when it denotes at least one point.
bool matches(const EffectivityExpression& effectivity, const QEMConfig::NormalValueSeq& filter,
             const MilestoneLookup& milestones);

// Whether two effectivities share a point (an effectivity without AND-terms is everything).
bool intersects(const EffectivityExpression& a, const EffectivityExpression& b,
                const MilestoneLookup& milestones);

// The text form of a value, an AND-term and an effectivity (grammar in reference/README.md).
std::string renderValue(const NormalValue& value);
std::string renderTerm(const QEM_Config::ANDTerm& term);
std::string renderEffectivity(const EffectivityExpression& effectivity);

}  // namespace oks::reference
