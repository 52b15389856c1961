#include <oks/platform/command_host.h>
#include <oks/platform/faults.h>

ZORMetaClass* MIROIBaseCommand::MetaObject() {
  // The interface's meta object carries the interface identifier as its class identifier.
  static ZORMetaClass* meta =
      new ZORMetaClass(&IID_MIROIBaseCommand, "MIROIBaseCommand", nullptr, nullptr, 3);
  return meta;
}

MIROBaseCommandNoSO::~MIROBaseCommandNoSO() = default;

std::optional<HRESULT> MIROBaseCommandNoSO::resultFault(const ZORUnicodeString& key) {
  return oks::setResultFault(key.str());
}

// Values kept as they are.
#define OKS_PLAIN_VALUE(T)                                                                 \
  HRESULT MIROBaseCommandNoSO::GetParameter(const ZORUnicodeString& key, T& value) {       \
    return parameters_.getValue(key, value);                                               \
  }                                                                                        \
  HRESULT MIROBaseCommandNoSO::SetParameter(const ZORUnicodeString& key, const T& value) { \
    return parameters_.setValue(key, value);                                               \
  }                                                                                        \
  HRESULT MIROBaseCommandNoSO::SetResult(const ZORUnicodeString& key, const T& value) {    \
    if (auto fault = resultFault(key)) return *fault;                                      \
    return results_.setValue(key, value);                                                  \
  }                                                                                        \
  HRESULT MIROBaseCommandNoSO::GetResult(const ZORUnicodeString& key, T& value) {          \
    return results_.getValue(key, value);                                                  \
  }
OKS_PLAIN_VALUE(MIROIStreamable_var)
OKS_PLAIN_VALUE(ZORUnicodeString)
OKS_PLAIN_VALUE(int)
OKS_PLAIN_VALUE(double)
OKS_PLAIN_VALUE(unsigned char)
#undef OKS_PLAIN_VALUE

// Values the store copies and hands out by pointer.
#define OKS_COPIED_VALUE(T)                                                                \
  HRESULT MIROBaseCommandNoSO::GetParameter(const ZORUnicodeString& key, T*& value) {      \
    return parameters_.getPointer(key, value);                                             \
  }                                                                                        \
  HRESULT MIROBaseCommandNoSO::SetParameter(const ZORUnicodeString& key, const T& value) { \
    return parameters_.setCopy(key, value);                                                \
  }                                                                                        \
  HRESULT MIROBaseCommandNoSO::SetResult(const ZORUnicodeString& key, const T& value) {    \
    if (auto fault = resultFault(key)) return *fault;                                      \
    return results_.setCopy(key, value);                                                   \
  }                                                                                        \
  HRESULT MIROBaseCommandNoSO::GetResult(const ZORUnicodeString& key, T*& value) {         \
    return results_.getPointer(key, value);                                                \
  }
OKS_COPIED_VALUE(ZORListValZORUnicodeString)
OKS_COPIED_VALUE(ZORRawCollint)
OKS_COPIED_VALUE(ZORRawColldouble)
OKS_COPIED_VALUE(_SEQUENCE_octet)
#undef OKS_COPIED_VALUE

HRESULT MIROBaseCommandNoSO::ResultAdded(const ZORUnicodeString&, const int&) { return S_OK; }
HRESULT MIROBaseCommandNoSO::InternalSetResult(const ZORUnicodeString& key, const int& value) {
  return results_.setValue(key, value);
}
HRESULT MIROBaseCommandNoSO::InternalSetResult(const ZORUnicodeString& key, const ZORUnicodeString& value) {
  return results_.setValue(key, value);
}
HRESULT MIROBaseCommandNoSO::InternalSetResult(const ZORUnicodeString& key,
                                               const ZORListValZORUnicodeString& value) {
  return results_.setCopy(key, value);
}

const ZORUnicodeString MIROAppBaseCommand::osParam2("Param2");
const ZORUnicodeString MIROAppBaseCommand::osParam3("Param3");
const ZORUnicodeString MIROAppBaseCommand::osParam4("Param4");

MIROAppBaseCommand::~MIROAppBaseCommand() = default;

// Record parameters and results. A result setter that fails by fault injection still takes
// its record, which it frees unless the store already holds it.
#define OKS_RECORD_KIND(Kind, Type)                                                                   \
  HRESULT MIROAppBaseCommand::Set##Kind##Parameter(const ZORUnicodeString& key, const Type* record) { \
    return parameters_.setRecord(key, record);                                                        \
  }                                                                                                   \
  HRESULT MIROAppBaseCommand::Get##Kind##Parameter(const ZORUnicodeString& key, Type*& record) {      \
    return parameters_.getPointer(key, record);                                                       \
  }                                                                                                   \
  HRESULT MIROAppBaseCommand::Set##Kind##Result(const ZORUnicodeString& key, const Type* record) {    \
    if (!record) return E_POINTER;                                                                    \
    if (auto fault = resultFault(key)) {                                                              \
      if (!results_.holds(record)) delete record;                                                     \
      return *fault;                                                                                  \
    }                                                                                                 \
    return results_.setRecord(key, record);                                                           \
  }                                                                                                   \
  HRESULT MIROAppBaseCommand::Get##Kind##Result(const ZORUnicodeString& key, Type*& record) {         \
    return results_.getPointer(key, record);                                                          \
  }
OKS_RECORD_KINDS(OKS_RECORD_KIND)
#undef OKS_RECORD_KIND

HRESULT MIROAppBaseCommand::CheckAutoRefresh() { return S_OK; }
int MIROAppBaseCommand::IsAutoRefresh() { return 0; }
HRESULT MIROAppBaseCommand::Execute() { return AppExecute(); }
HRESULT MIROAppBaseCommand::CheckAutoCommit(long) { return S_OK; }
int MIROAppBaseCommand::IsAutoCommit() { return 0; }
HRESULT MIROAppBaseCommand::ExecutionFailure(long status) {
  lastFailure_ = status;
  return S_OK;
}
const char* MIROAppBaseCommand::GetName() { return IsA(); }
