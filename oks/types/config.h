// Records of the configuration service interface: effectivity values, modifications, filters,
// milestones and applicabilities, with their national-language twins.
#pragma once

#include <stdexcept>
#include <string>
#include <variant>

#include <oks/types/config_types.h>
#include <oks/types/product_types.h>

namespace QEM_Config {

using QEM_ConfigTypes::DateValue;
using QEM_ConfigTypes::RangeValue;

// One elementary effectivity value; an empty optional part is absent.
struct NormalValue {
  CORBA::sequence<DateValue> optionalDate;
  CORBA::sequence<RangeValue> optionalRange;
  CORBA::sequence<std::string> optionalSpec;
  std::string StartMileStoneName;
  std::string EndMileStoneName;
  std::string Sign;
  bool operator==(const NormalValue&) const = default;
};

// An effectivity expression: an OR of AND-terms of normal values.
using ANDTerm = CORBA::sequence<NormalValue>;
using EffectivityExpression = CORBA::sequence<ANDTerm>;

struct Modification {
  std::string tag;
  bool sign = true;
  EffectivityExpression proposedEffectivity;
  bool operator==(const Modification&) const = default;
};

struct ValidatedModification {
  Modification modification;
  EffectivityExpression validatedInto;
  bool operator==(const ValidatedModification&) const = default;
};

enum TypeEff { MODIF, VALID };

// A union on TypeEff: MODIF holds a modification, VALID a validated effectivity.
template <class Mod, class Expr>
class EffectivityUnion {
 public:
  TypeEff _d() const { return value_.index() == 0 ? MODIF : VALID; }
  const Mod& modification() const { return std::get<0>(value_); }
  void modification(const Mod& m) { value_ = m; }
  const Expr& validatedEffectivity() const { return std::get<1>(value_); }
  void validatedEffectivity(const Expr& e) { value_.template emplace<1>(e); }
  bool operator==(const EffectivityUnion&) const = default;

 private:
  std::variant<Mod, Expr> value_;
};

using Effectivity = EffectivityUnion<Modification, EffectivityExpression>;

struct XEffectivityValues {
  std::string Domain;
  std::string EffectivityDesc;
  EffectivityExpression Effectivity;
  bool operator==(const XEffectivityValues&) const = default;
};

struct Applicability {
  QEM_NlsProductTypes::NlsXNode CV;
  CORBA::sequence<Effectivity> Effs;
  bool operator==(const Applicability&) const = default;
};

struct XmlApplicability {
  QEM_NlsProductTypes::NlsXNode CV;
  _SEQUENCE_octet applicability;
  bool operator==(const XmlApplicability&) const = default;
};

struct MileStoneValue {
  std::string Name;
  std::string nlsRep;
  DateValue optionalDate;
  RangeValue optionalRange;
  CORBA::Short type = 0;
  bool operator==(const MileStoneValue&) const = default;
};

// The filter set on one change object.
struct FilterValue {
  std::string COName;
  CORBA::sequence<std::string> modifs;
  CORBA::sequence<NormalValue> validatedEffectivities;
  std::string domain;
  std::string mode;
  std::string eco_name;
  std::string hideUnsolvedOpMode;
  bool operator==(const FilterValue&) const = default;
};

// National-language twins: every name-like text is an NlsString.
using QEM_NlsProductTypes::NlsString;

struct NlsNormalValue {
  CORBA::sequence<DateValue> optionalDate;
  CORBA::sequence<RangeValue> optionalRange;
  CORBA::sequence<NlsString> optionalSpec;
  NlsString StartMileStoneName;
  NlsString EndMileStoneName;
  NlsString Sign;
  bool operator==(const NlsNormalValue&) const = default;
};
using NlsEffectivityExpression = CORBA::sequence<CORBA::sequence<NlsNormalValue>>;

struct NlsModification {
  NlsString tag;
  bool sign = true;
  NlsEffectivityExpression proposedEffectivity;
  bool operator==(const NlsModification&) const = default;
};

struct NlsValidatedModification {
  NlsModification modification;
  NlsEffectivityExpression validatedInto;
  bool operator==(const NlsValidatedModification&) const = default;
};

using NlsEffectivity = EffectivityUnion<NlsModification, NlsEffectivityExpression>;

struct NlsXEffectivityValues {
  NlsString Domain;
  NlsString EffectivityDesc;
  NlsEffectivityExpression Effectivity;
  bool operator==(const NlsXEffectivityValues&) const = default;
};

struct NlsApplicability {
  QEM_NlsProductTypes::NlsXNode CV;
  CORBA::sequence<NlsEffectivity> Effs;
  bool operator==(const NlsApplicability&) const = default;
};

struct NlsMileStoneValue {
  NlsString Name;
  NlsString nlsRep;
  DateValue optionalDate;
  RangeValue optionalRange;
  CORBA::Short type = 0;
  bool operator==(const NlsMileStoneValue&) const = default;
};

struct NlsFilterValue {
  NlsString COName;
  CORBA::sequence<NlsString> modifs;
  CORBA::sequence<NlsNormalValue> validatedEffectivities;
  NlsString domain;
  bool operator==(const NlsFilterValue&) const = default;
};

}  // namespace QEM_Config

namespace QEM_ErrorManager {

struct QEMError {
  CORBA::Short severity = 0;
  QEM_NlsProductTypes::NlsString full_message;
  std::string source_file;
  CORBA::Long source_line = 0;
  bool operator==(const QEMError&) const = default;
};

// The exception the server throws.
class QEMServerException : public std::runtime_error {
 public:
  explicit QEMServerException(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace QEM_ErrorManager
