// Effectivity resolution and its text form: the rules of reference/README.md, "Effectivity
// rules".
//
// A normal value denotes a set of points in three dimensions: date (whole seconds), rank (whole
// numbers from 0) and specification name. Each part it gives (dates, ranks, specification names,
// a milestone span) restricts one dimension to the union of what it lists; a part left empty
// places no restriction. A value whose Sign is "-" denotes the complement of that set. An
// AND-term denotes the intersection of its values, and an effectivity the union of its AND-terms.
//
// The engine reads nothing of a store by itself: it is given an object's holdings (values,
// domain, applicabilities) and reads owners and milestones through an OwnerChain, so that any
// store can feed it.
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

// Finds a milestone by name; null when there is none of that name.
using MilestoneLookup = std::function<const MileStoneValue*(const std::string&)>;

// What the engine reads of a store besides an object's holdings: an object's owner (empty when
// it has none) and the milestones defined on it, objects being known by their UUID.
class OwnerChain {
 public:
  virtual ~OwnerChain() = default;
  virtual std::string ownerOf(const std::string& object) const = 0;
  virtual QEMConfig::MileStoneValueSeq milestonesOn(const std::string& object) const = 0;
};

// The milestones names resolve to, nearest definition first.
class MilestoneScope {
 public:
  // Adds the milestones of an object farther away than those added so far: a name already
  // known keeps its nearer definition.
  void addFarther(const QEMConfig::MileStoneValueSeq& milestones);
  // Adds those of the object and then of its owners, nearest first.
  void addWithOwners(const OwnerChain& chain, const std::string& object);

  const MileStoneValue* find(const std::string& name) const;
  // Every milestone of the scope, nearest first, each name once.
  const std::vector<MileStoneValue>& all() const { return known_; }
  // A lookup into this scope; valid while the scope lives.
  MilestoneLookup lookup() const;

 private:
  std::vector<MileStoneValue> known_;
};

// Where the milestone names of an object's values resolve: the object, its owners, then the
// object the operation works on (its own milestones, not its owners').
MilestoneScope valueMilestones(const OwnerChain& chain, const std::string& object,
                               const std::string& context);
// Where the milestone names of filter values resolve: the object the operation works on, then
// its owners; the milestones getMileStoneValues lists for that object.
MilestoneScope filterMilestones(const OwnerChain& chain, const std::string& context);

// The seconds key of a date in chronological order. Fields out of their range carry into the
// next larger one, as on a calendar. A date whose fields are all zero is an open end: the
// lowest key as a start, the highest as an end. An end date without a time of day stands for
// the whole day, up to its last second.
std::int64_t dateKey(const QEM_OrbixTypes::DateCorba& date, bool isEnd);
bool isOpenDate(const QEM_OrbixTypes::DateCorba& date);

// Whether one AND-term of the effectivity is compatible with every filter value (shares at
// least one point with it). An effectivity without AND-terms places no restriction and matches
// any filter; with no filter values an AND-term matches when it denotes at least one point.
// The effectivity's milestone names resolve through `names`, the filter's through
// `filterNames`.
bool matches(const EffectivityExpression& effectivity, const MilestoneLookup& names,
             const QEMConfig::NormalValueSeq& filter, const MilestoneLookup& filterNames);

// Whether two effectivities share a point (an effectivity without AND-terms is everything).
bool intersects(const EffectivityExpression& a, const MilestoneLookup& aNames, const EffectivityExpression& b,
                const MilestoneLookup& bNames);

// What an object holds that gives it effectivity: a specification's own values and their
// domain (no values for other objects), and its applicabilities.
struct Holdings {
  const QEMConfig::NormalValueSeq& values;
  const std::string& valuesDomain;
  const QEMConfig::DomainEffectivitySeq& applicability;
};

// Whether the object states an effectivity: it has values, or an applicability with at least
// one AND-term.
bool statesEffectivity(const Holdings& holdings);

// The effectivity an object has in one domain.
struct ObjectEffectivity {
  bool effective = true;        // false: what it states fits other domains only
  EffectivityExpression terms;  // no AND-term: no restriction
};

// The effectivity of an object in a domain. An object that states none is unrestricted.
// Otherwise values or an applicability fit the domain when theirs is that domain or empty; a
// domain left empty lets every one fit, unless `exactDomain`. Every AND-term of a fitting
// applicability joined with the fitting values is one AND-term; a fitting applicability without
// AND-terms contributes the values alone (an AND-term without values when none fit); without a
// fitting applicability the values alone make it; when nothing fits, the object is not
// effective in the domain.
ObjectEffectivity effectivityIn(const Holdings& holdings, const std::string& domain,
                                bool exactDomain = false);

// Whether the object's effectivity in a domain matches the filter values (see matches); one
// that is not effective there matches no filter.
bool effectiveUnder(const ObjectEffectivity& effectivity, const MilestoneLookup& names,
                    const QEMConfig::NormalValueSeq& filter, const MilestoneLookup& filterNames);

// The domains the object's values and applicabilities name, in order, each once; none when it
// states no effectivity.
std::vector<std::string> domainsNamed(const Holdings& holdings);

// The text form of a value, an AND-term and an effectivity (grammar in reference/README.md).
std::string renderValue(const NormalValue& value);
std::string renderTerm(const QEM_Config::ANDTerm& term);
std::string renderEffectivity(const EffectivityExpression& effectivity);

}  // namespace oks::reference
