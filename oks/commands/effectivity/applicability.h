// The two shapes of the applicability commands. The get shape reads the nodes ("Param0"), asks
// the service for their applicabilities and streams them as "result0"; the set shape takes the
// applicabilities from a streamable ("Param0") and stores them on the nodes ("Param1").
#pragma once

#include <oks/framework/helpers.h>

namespace oks {

using ApplicabilityGetter = HRESULT (ConfigurationImplementation_1::*)(QEMConfig::DomainEffectivitySeq*&,
                                                                       const QEM_ProductTypes::XNodeSeq&);
using ApplicabilitySetter = HRESULT (ConfigurationImplementation_1::*)(const QEMConfig::DomainEffectivitySeq&,
                                                                       const QEM_ProductTypes::XNodeSeq&);

// Get shape. Success is decided by the returned sequence alone, not by the service's status;
// a successful run returns the status of SetResult("result0", ...).
inline HRESULT getApplicability(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                                ApplicabilityGetter operation) {
  ConfigurationImplementation_1 service;
  QEM_ProductTypes::XNodeSeq* nodes = nullptr;
  HRESULT status = command.GetXNodeSeqParameter("Param0", nodes);
  if (FAILED(status)) return unableToRetrieve(trace, "Param0", status);

  OutRecord<QEMConfig::DomainEffectivitySeq> applicabilities;
  (service.*operation)(applicabilities.out(), *nodes);
  if (!applicabilities) {
    traceFunctionFailed(trace, name);
    return E_FAIL;
  }
  traceSucceeded(trace, name);
  return streamedStatus(trace,
                        streamRecord<DomainEffectivitySeqStreamer>(command, "result0", applicabilities));
}

// Set shape. A missing "Param0" is noticed only after "Param1" was read; without applicabilities
// the service is not called. Any failure after "Param1" returns E_FAIL, a success the service's
// status.
inline HRESULT setApplicability(MIROAppBaseCommand& command, ZORQemTrace& trace, const char* name,
                                ApplicabilitySetter operation) {
  ConfigurationImplementation_1 service;
  auto applicabilities = readStreamable<QEMConfig::DomainEffectivitySeq>(command, "Param0");
  QEM_ProductTypes::XNodeSeq* nodes = nullptr;
  HRESULT status = command.GetXNodeSeqParameter("Param1", nodes);
  if (FAILED(status)) return unableToRetrieve(trace, "Param1", status);

  if (applicabilities.object) {
    status = (service.*operation)(*applicabilities.object, *nodes);
    if (SUCCEEDED(status)) {
      traceSucceeded(trace, name);
      return status;
    }
  }
  traceFunctionFailed(trace, name);
  return E_FAIL;
}

}  // namespace oks
