// The statics every command unit builds at load time, before its own: the stream and broker
// initialisation objects and the type codes of the records the unit's headers declare.
// Destroyed in reverse order at unload. The type codes are registered once for the whole
// library; each unit's own type-code statics only show in the statics log.
#pragma once

#include <oks/platform/broker.h>

namespace oks {

// The records every unit's headers declare, by repository identifier, in declaration order.
inline constexpr const char* kUnitTypeCodes[] = {
    "IDL:QEM_NlsProductTypes/NlsString:1.0",
    "IDL:QEM_NlsProductTypes/NlsProductAttribute:1.0",
    "IDL:QEM_NlsProductTypes/NlsNode:1.0",
    "IDL:QEM_NlsProductTypes/NlsXNode:1.0",
    "IDL:QEM_NlsProductTypes/BObjectKey:1.0",
    "IDL:QEM_ProductTypes/ProductAttribute:1.0",
    "IDL:QEM_ProductTypes/Node:1.0",
    "IDL:QEM_ProductTypes/XNode:1.0",
    "IDL:QEM_OrbixTypes/DateCorba:1.0",
    "IDL:QEM_ConfigTypes/DateValue:1.0",
    "IDL:QEM_ConfigTypes/RangeValue:1.0",
    "IDL:QEM_ConfigTypes/MileStone:1.0",
    "IDL:QEM_ConfigTypes/OptionalDateValue:1.0",
    "IDL:QEM_ConfigTypes/OptionalRangeValue:1.0",
    "IDL:QEM_ConfigTypes/OptionalSpecValue:1.0",
    "IDL:QEM_ConfigTypes/NormalValue:1.0",
    "IDL:QEM_ConfigTypes/ANDExpression:1.0",
    "IDL:QEM_ConfigTypes/ORExpression:1.0",
    "IDL:QEM_ConfigTypes/OptionalORExpression:1.0",
    "IDL:QEM_ConfigTypes/ValidatedEffectivity:1.0",
    "IDL:QEM_ConfigTypes/OptionalValidatedEffectivity:1.0",
    "IDL:QEM_ConfigTypes/Modification:1.0",
    "IDL:QEM_ConfigTypes/COEffectivity:1.0",
    "IDL:QEM_ConfigTypes/FOEffectivity:1.0",
    "IDL:QEM_ConfigTypes/COModificationDomain:1.0",
    "IDL:QEM_ConfigTypes/ModificationDomain:1.0",
    "IDL:QEM_ConfigTypes/EffValue:1.0",
    "IDL:QEM_ConfigTypes/FilterValue:1.0",
    "IDL:QEM_ConfigTypes/Filter:1.0",
    "IDL:QEM_Config/NormalValue:1.0",
    "IDL:QEM_Config/Modification:1.0",
    "IDL:QEM_Config/ValidatedModification:1.0",
    "IDL:QEM_Config/Effectivity:1.0",
    "IDL:QEM_Config/XEffectivityValues:1.0",
    "IDL:QEM_Config/Applicability:1.0",
    "IDL:QEM_Config/XmlApplicability:1.0",
    "IDL:QEM_Config/MileStoneValue:1.0",
    "IDL:QEM_Config/FilterValue:1.0",
    "IDL:QEM_Config/NlsNormalValue:1.0",
    "IDL:QEM_Config/NlsModification:1.0",
    "IDL:QEM_Config/NlsValidatedModification:1.0",
    "IDL:QEM_Config/NlsEffectivity:1.0",
    "IDL:QEM_Config/NlsXEffectivityValues:1.0",
    "IDL:QEM_Config/NlsApplicability:1.0",
    "IDL:QEM_Config/NlsMileStoneValue:1.0",
    "IDL:QEM_Config/NlsFilterValue:1.0",
    "IDL:QEM_ErrorManager/QEMError:1.0",
};

// The library's one registration of those type codes, shared by its units (an inline variable
// of the library): made before the first unit's statics, withdrawn after the last unit's.
inline TypeCodeRegistration libraryTypeCodes(kUnitTypeCodes);

}  // namespace oks

namespace {

Iostream_init oksIostreamInit;
IT_InitOrbix oksInitOrbix;
oks::UnitTypeCodes oksUnitTypeCodes(oks::kUnitTypeCodes);

}  // namespace
