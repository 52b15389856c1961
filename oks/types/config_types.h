// Time, range and milestone records, and effectivity expressions of the older form.
#pragma once

#include <string>

#include <oks/types/sequence.h>

namespace QEM_OrbixTypes {

struct DateCorba {
  CORBA::Long year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0;
  bool operator==(const DateCorba&) const = default;
};

}  // namespace QEM_OrbixTypes

namespace QEM_ConfigTypes {

using QEM_OrbixTypes::DateCorba;

struct DateValue {
  DateCorba fromDate;
  DateCorba toDate;
  bool operator==(const DateValue&) const = default;
};

struct RangeValue {
  CORBA::Long fromRank = 0;
  CORBA::Long toRank = 0;
  bool operator==(const RangeValue&) const = default;
};

struct MileStone {
  std::string Name;
  CORBA::Long From = 0;
  CORBA::Long To = 0;
  bool operator==(const MileStone&) const = default;
};

enum Option { SET, UNSET };

// A union on Option: SET holds data, UNSET holds the flag nothing.
template <class T>
class OptionalValue {
 public:
  Option _d() const { return d_; }
  const T& data() const { return data_; }
  void data(const T& v) {
    d_ = SET;
    data_ = v;
  }
  bool nothing() const { return nothing_; }
  void nothing(bool v) {
    d_ = UNSET;
    nothing_ = v;
  }
  bool operator==(const OptionalValue&) const = default;

 private:
  Option d_ = UNSET;
  T data_{};
  bool nothing_ = true;
};

using OptionalDateValue = OptionalValue<DateValue>;
using OptionalRangeValue = OptionalValue<RangeValue>;
using OptionalSpecValue = OptionalValue<std::string>;

struct NormalValue {
  OptionalDateValue date;
  OptionalRangeValue range;
  OptionalSpecValue spec;
  bool operator==(const NormalValue&) const = default;
};

struct ANDExpression {
  CORBA::sequence<NormalValue> normalValues;
  bool operator==(const ANDExpression&) const = default;
};

struct ORExpression {
  CORBA::sequence<ANDExpression> ANDExpressions;
  bool operator==(const ORExpression&) const = default;
};

struct ValidatedEffectivity {
  ORExpression effectivity;
  bool operator==(const ValidatedEffectivity&) const = default;
};

using OptionalORExpression = OptionalValue<ORExpression>;
using OptionalValidatedEffectivity = OptionalValue<ValidatedEffectivity>;

struct Modification {
  std::string tag;
  bool plusIndicator = true;
  OptionalORExpression proposedEffectivity;
  bool operator==(const Modification&) const = default;
};

struct COEffectivity {
  std::string COName;
  OptionalValidatedEffectivity effectivity;
  CORBA::sequence<Modification> modifications;
  bool operator==(const COEffectivity&) const = default;
};

struct FOEffectivity {
  CORBA::sequence<COEffectivity> COs;
  bool operator==(const FOEffectivity&) const = default;
};

struct COModificationDomain {
  std::string COName;
  ORExpression effectivity;
  bool operator==(const COModificationDomain&) const = default;
};

struct ModificationDomain {
  CORBA::sequence<COModificationDomain> COs;
  bool operator==(const ModificationDomain&) const = default;
};

enum TypeVal { MODIFTAG, NORMALVAL };

// A union on TypeVal: MODIFTAG holds a tag, NORMALVAL a normal value.
class EffValue {
 public:
  TypeVal _d() const { return d_; }
  const std::string& tag() const { return tag_; }
  void tag(const std::string& t) {
    d_ = MODIFTAG;
    tag_ = t;
  }
  const NormalValue& value() const { return value_; }
  void value(const NormalValue& v) {
    d_ = NORMALVAL;
    value_ = v;
  }
  bool operator==(const EffValue&) const = default;

 private:
  TypeVal d_ = MODIFTAG;
  std::string tag_;
  NormalValue value_;
};

struct FilterValue {
  std::string COname;
  CORBA::sequence<EffValue> effValues;
  bool operator==(const FilterValue&) const = default;
};

struct Filter {
  CORBA::sequence<FilterValue> COs;
  bool operator==(const Filter&) const = default;
};

}  // namespace QEM_ConfigTypes
