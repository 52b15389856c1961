// The statics every command unit builds at load time, before its own: the stream and broker
// initialisation objects and one type-code object per record the unit's headers declare.
// Destroyed in reverse order at unload.
#pragma once

#include <oks/platform/broker.h>

namespace {

Iostream_init oksIostreamInit;
IT_InitOrbix oksInitOrbix;

#define OKS_TYPE_CODE(Module, Record) \
  const CORBA::typeCode oksTypeCode_##Module##_##Record("IDL:" #Module "/" #Record ":1.0");

OKS_TYPE_CODE(QEM_NlsProductTypes, NlsString)
OKS_TYPE_CODE(QEM_NlsProductTypes, NlsProductAttribute)
OKS_TYPE_CODE(QEM_NlsProductTypes, NlsNode)
OKS_TYPE_CODE(QEM_NlsProductTypes, NlsXNode)
OKS_TYPE_CODE(QEM_NlsProductTypes, BObjectKey)
OKS_TYPE_CODE(QEM_ProductTypes, ProductAttribute)
OKS_TYPE_CODE(QEM_ProductTypes, Node)
OKS_TYPE_CODE(QEM_ProductTypes, XNode)
OKS_TYPE_CODE(QEM_OrbixTypes, DateCorba)
OKS_TYPE_CODE(QEM_ConfigTypes, DateValue)
OKS_TYPE_CODE(QEM_ConfigTypes, RangeValue)
OKS_TYPE_CODE(QEM_ConfigTypes, MileStone)
OKS_TYPE_CODE(QEM_ConfigTypes, OptionalDateValue)
OKS_TYPE_CODE(QEM_ConfigTypes, OptionalRangeValue)
OKS_TYPE_CODE(QEM_ConfigTypes, OptionalSpecValue)
OKS_TYPE_CODE(QEM_ConfigTypes, NormalValue)
OKS_TYPE_CODE(QEM_ConfigTypes, ANDExpression)
OKS_TYPE_CODE(QEM_ConfigTypes, ORExpression)
OKS_TYPE_CODE(QEM_ConfigTypes, OptionalORExpression)
OKS_TYPE_CODE(QEM_ConfigTypes, ValidatedEffectivity)
OKS_TYPE_CODE(QEM_ConfigTypes, OptionalValidatedEffectivity)
OKS_TYPE_CODE(QEM_ConfigTypes, Modification)
OKS_TYPE_CODE(QEM_ConfigTypes, COEffectivity)
OKS_TYPE_CODE(QEM_ConfigTypes, FOEffectivity)
OKS_TYPE_CODE(QEM_ConfigTypes, COModificationDomain)
OKS_TYPE_CODE(QEM_ConfigTypes, ModificationDomain)
OKS_TYPE_CODE(QEM_ConfigTypes, EffValue)
OKS_TYPE_CODE(QEM_ConfigTypes, FilterValue)
OKS_TYPE_CODE(QEM_ConfigTypes, Filter)
OKS_TYPE_CODE(QEM_Config, NormalValue)
OKS_TYPE_CODE(QEM_Config, Modification)
OKS_TYPE_CODE(QEM_Config, ValidatedModification)
OKS_TYPE_CODE(QEM_Config, Effectivity)
OKS_TYPE_CODE(QEM_Config, XEffectivityValues)
OKS_TYPE_CODE(QEM_Config, Applicability)
OKS_TYPE_CODE(QEM_Config, XmlApplicability)
OKS_TYPE_CODE(QEM_Config, MileStoneValue)
OKS_TYPE_CODE(QEM_Config, FilterValue)
OKS_TYPE_CODE(QEM_Config, NlsNormalValue)
OKS_TYPE_CODE(QEM_Config, NlsModification)
OKS_TYPE_CODE(QEM_Config, NlsValidatedModification)
OKS_TYPE_CODE(QEM_Config, NlsEffectivity)
OKS_TYPE_CODE(QEM_Config, NlsXEffectivityValues)
OKS_TYPE_CODE(QEM_Config, NlsApplicability)
OKS_TYPE_CODE(QEM_Config, NlsMileStoneValue)
OKS_TYPE_CODE(QEM_Config, NlsFilterValue)
OKS_TYPE_CODE(QEM_ErrorManager, QEMError)

#undef OKS_TYPE_CODE

}  // namespace
