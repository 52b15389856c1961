// The command host: the generic command interface, the host base classes every command derives
// from, and their store of named parameters and results.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <oks/platform/object_model.h>
#include <oks/platform/streamable.h>
#include <oks/platform/zor_unicode_string.h>
#include <oks/types/product_types.h>

// The generic command interface through which the host reaches every command.
class MIROIBaseCommand : public ZORBaseUnknown {
 public:
  static const char* InterfaceName() { return "MIROIBaseCommand"; }
  static ZORMetaClass* MetaObject();

  virtual HRESULT SetParameter(const ZORUnicodeString& key, const MIROIStreamable_var& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORUnicodeString& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const int& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const double& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const unsigned char& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORListValZORUnicodeString& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORRawCollint& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORRawColldouble& value) = 0;
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const _SEQUENCE_octet& value) = 0;

  virtual HRESULT GetParameter(const ZORUnicodeString& key, MIROIStreamable_var& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORUnicodeString& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, int& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, double& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, unsigned char& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORListValZORUnicodeString*& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORRawCollint*& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORRawColldouble*& value) = 0;
  virtual HRESULT GetParameter(const ZORUnicodeString& key, _SEQUENCE_octet*& value) = 0;

  virtual HRESULT Execute() = 0;
  virtual HRESULT ExecutionFailure(long status) = 0;

  virtual HRESULT SetResult(const ZORUnicodeString& key, const MIROIStreamable_var& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORUnicodeString& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const int& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const double& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const unsigned char& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORListValZORUnicodeString& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORRawCollint& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORRawColldouble& value) = 0;
  virtual HRESULT SetResult(const ZORUnicodeString& key, const _SEQUENCE_octet& value) = 0;

  virtual HRESULT GetResult(const ZORUnicodeString& key, MIROIStreamable_var& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORUnicodeString& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, int& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, double& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, unsigned char& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORListValZORUnicodeString*& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORRawCollint*& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORRawColldouble*& value) = 0;
  virtual HRESULT GetResult(const ZORUnicodeString& key, _SEQUENCE_octet*& value) = 0;
};

namespace oks {

// One stored value: the nine value kinds, then the eight record kinds. Lists, collections,
// octet sequences and records are owned by the store.
using StoredValue =
    std::variant<MIROIStreamable_var, ZORUnicodeString, int, double, unsigned char,
                 std::unique_ptr<ZORListValZORUnicodeString>, std::unique_ptr<ZORRawCollint>,
                 std::unique_ptr<ZORRawColldouble>, std::unique_ptr<_SEQUENCE_octet>,
                 std::unique_ptr<QEM_ProductTypes::XNode>, std::unique_ptr<QEM_ProductTypes::XNodeSeq>,
                 std::unique_ptr<QEM_ProductTypes::Node>, std::unique_ptr<QEM_ProductTypes::NodeSeq>,
                 std::unique_ptr<QEM_ProductTypes::ProductAttribute>,
                 std::unique_ptr<QEM_ProductTypes::ProductAttributeSeq>,
                 std::unique_ptr<QEM_ProductTypes::BObjectKey>,
                 std::unique_ptr<QEM_ProductTypes::BObjectKeySeq>>;

// Named values, kept sorted by key in a flat array whose first entries live inside the store
// (a command's few parameters and results take no allocation of their own). A getter answers
// E_NOTFOUND for a key never set and E_INVALIDARG for a key holding another kind. A record
// setter takes ownership of its record and refuses null with E_POINTER; storing the same record
// again under its key is harmless.
class ValueStore {
 public:
  using Entry = std::pair<std::string, StoredValue>;

  ValueStore() { entries_.reserve(kInlineEntries); }
  ValueStore(const ValueStore&) = delete;
  ValueStore& operator=(const ValueStore&) = delete;

  template <class T>
  HRESULT setValue(const ZORUnicodeString& key, const T& value) {
    slot(key) = value;
    return S_OK;
  }
  template <class T>
  HRESULT setCopy(const ZORUnicodeString& key, const T& value) {
    slot(key) = std::make_unique<T>(value);
    return S_OK;
  }
  template <class T>
  HRESULT setRecord(const ZORUnicodeString& key, const T* record) {
    if (!record) return E_POINTER;
    StoredValue* stored = find(key);
    if (stored) {
      auto* held = std::get_if<std::unique_ptr<T>>(stored);
      if (held && held->get() == record) return S_OK;
    }
    if (holds(record)) return E_INVALIDARG;  // one record, one key: never owned twice
    std::unique_ptr<T> owned(const_cast<T*>(record));
    (stored ? *stored : slot(key)) = std::move(owned);
    return S_OK;
  }
  // Makes every getter of the key fail with the status (a host-side fault), until the key is set.
  void failKey(const ZORUnicodeString& key, HRESULT status) {
    std::erase_if(entries_, [&](const Entry& e) { return e.first == key.str(); });
    stopFailing(key);
    failing_.emplace_back(key.str(), status);
  }

  template <class T>
  HRESULT getValue(const ZORUnicodeString& key, T& out) const {
    if (auto f = failure(key)) return *f;
    const StoredValue* stored = find(key);
    if (!stored) return E_NOTFOUND;
    auto* held = std::get_if<T>(stored);
    if (!held) return E_INVALIDARG;
    out = *held;
    return S_OK;
  }
  template <class T>
  HRESULT getPointer(const ZORUnicodeString& key, T*& out) const {
    out = nullptr;
    if (auto f = failure(key)) return *f;
    const StoredValue* stored = find(key);
    if (!stored) return E_NOTFOUND;
    auto* held = std::get_if<std::unique_ptr<T>>(stored);
    if (!held) return E_INVALIDARG;
    out = held->get();
    return S_OK;
  }
  // Whether this record is held under any key.
  template <class T>
  bool holds(const T* record) const {
    for (const auto& [key, value] : entries_) {
      auto* held = std::get_if<std::unique_ptr<T>>(&value);
      if (held && held->get() == record) return true;
    }
    return false;
  }

  // The entries in key order.
  const std::pmr::vector<Entry>& entries() const { return entries_; }
  void clear() {
    entries_.clear();
    failing_.clear();
  }

 private:
  static constexpr std::size_t kInlineEntries = 4;

  // The value under the key, or null. A store holds a few keys: a scan is the fastest way.
  StoredValue* find(const ZORUnicodeString& key) {
    for (auto& [stored, value] : entries_)
      if (stored == key.str()) return &value;
    return nullptr;
  }
  const StoredValue* find(const ZORUnicodeString& key) const {
    return const_cast<ValueStore*>(this)->find(key);
  }
  // The value stored under the key, made empty at the key's place in order when new; the key
  // stops failing.
  StoredValue& slot(const ZORUnicodeString& key) {
    stopFailing(key);
    if (StoredValue* stored = find(key)) return *stored;
    auto at = std::lower_bound(entries_.begin(), entries_.end(), key.str(),
                               [](const Entry& e, const std::string& k) { return e.first < k; });
    return entries_.emplace(at, key.str(), StoredValue{})->second;
  }
  void stopFailing(const ZORUnicodeString& key) {
    std::erase_if(failing_, [&](const auto& f) { return f.first == key.str(); });
  }
  std::optional<HRESULT> failure(const ZORUnicodeString& key) const {
    for (const auto& [failingKey, status] : failing_)
      if (failingKey == key.str()) return status;
    return std::nullopt;
  }

  alignas(Entry) std::byte inline_[kInlineEntries * sizeof(Entry)];
  std::pmr::monotonic_buffer_resource memory_{inline_, sizeof inline_};
  std::pmr::vector<Entry> entries_{&memory_};
  std::vector<std::pair<std::string, HRESULT>> failing_;
};

}  // namespace oks

// The host base class of every command: named parameters and results of the nine value kinds.
class MIROBaseCommandNoSO : public ZORBaseUnknown {
 public:
  MIROBaseCommandNoSO() = default;
  ~MIROBaseCommandNoSO() override;

  virtual HRESULT GetParameter(const ZORUnicodeString& key, MIROIStreamable_var& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORUnicodeString& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, int& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, double& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, unsigned char& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORListValZORUnicodeString*& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORRawCollint*& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, ZORRawColldouble*& value);
  virtual HRESULT GetParameter(const ZORUnicodeString& key, _SEQUENCE_octet*& value);

  virtual HRESULT SetParameter(const ZORUnicodeString& key, const MIROIStreamable_var& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORUnicodeString& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const int& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const double& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const unsigned char& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORListValZORUnicodeString& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORRawCollint& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const ZORRawColldouble& value);
  virtual HRESULT SetParameter(const ZORUnicodeString& key, const _SEQUENCE_octet& value);

  virtual HRESULT SetResult(const ZORUnicodeString& key, const MIROIStreamable_var& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORUnicodeString& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const int& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const double& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const unsigned char& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORListValZORUnicodeString& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORRawCollint& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const ZORRawColldouble& value);
  virtual HRESULT SetResult(const ZORUnicodeString& key, const _SEQUENCE_octet& value);

  virtual HRESULT GetResult(const ZORUnicodeString& key, MIROIStreamable_var& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORUnicodeString& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, int& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, double& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, unsigned char& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORListValZORUnicodeString*& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORRawCollint*& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, ZORRawColldouble*& value);
  virtual HRESULT GetResult(const ZORUnicodeString& key, _SEQUENCE_octet*& value);

  virtual HRESULT ResultAdded(const ZORUnicodeString& key, const int& kind);
  virtual HRESULT InternalSetResult(const ZORUnicodeString& key, const int& value);
  virtual HRESULT InternalSetResult(const ZORUnicodeString& key, const ZORUnicodeString& value);
  virtual HRESULT InternalSetResult(const ZORUnicodeString& key, const ZORListValZORUnicodeString& value);

  // Host side: makes every getter of the parameter key fail with the status.
  void FailParameter(const ZORUnicodeString& key, HRESULT status) { parameters_.failKey(key, status); }

  // The host's view of the stores.
  const oks::ValueStore& Parameters() const { return parameters_; }
  const oks::ValueStore& Results() const { return results_; }

 protected:
  // Applies a result-setter fault of the key, if one is planned.
  static std::optional<HRESULT> resultFault(const ZORUnicodeString& key);

  oks::ValueStore parameters_;
  oks::ValueStore results_;
};

// The eight record kinds of parameters and results, X(Kind, Type) each: the host accessors are
// named after Kind (SetXNodeParameter, GetXNodeResult, ...).
#define OKS_RECORD_KINDS(X)                                     \
  X(XNode, QEM_ProductTypes::XNode)                             \
  X(XNodeSeq, QEM_ProductTypes::XNodeSeq)                       \
  X(Node, QEM_ProductTypes::Node)                               \
  X(NodeSeq, QEM_ProductTypes::NodeSeq)                         \
  X(ProductAttribute, QEM_ProductTypes::ProductAttribute)       \
  X(ProductAttributeSeq, QEM_ProductTypes::ProductAttributeSeq) \
  X(BObjectKey, QEM_NlsProductTypes::BObjectKey)                \
  X(BObjectKeySeq, QEM_NlsProductTypes::BObjectKeySeq)

// The application command base: record parameters and results, and execution.
class MIROAppBaseCommand : public MIROBaseCommandNoSO {
 public:
  static const ZORUnicodeString osParam2;
  static const ZORUnicodeString osParam3;
  static const ZORUnicodeString osParam4;

  MIROAppBaseCommand() = default;
  ~MIROAppBaseCommand() override;

#define OKS_RECORD_ACCESSORS(Kind, Type)                                                 \
  virtual HRESULT Set##Kind##Parameter(const ZORUnicodeString& key, const Type* record); \
  virtual HRESULT Get##Kind##Parameter(const ZORUnicodeString& key, Type*& record);
  OKS_RECORD_KINDS(OKS_RECORD_ACCESSORS)
#undef OKS_RECORD_ACCESSORS

  virtual HRESULT CheckAutoRefresh();
  virtual int IsAutoRefresh();
  // Runs the command's AppExecute() and returns its status.
  virtual HRESULT Execute();
  virtual HRESULT CheckAutoCommit(long status);
  virtual int IsAutoCommit();
  virtual HRESULT ExecutionFailure(long status);
  virtual HRESULT AppExecute() = 0;
  virtual const char* GetName();

#define OKS_RECORD_RESULTS(Kind, Type)                                                \
  virtual HRESULT Set##Kind##Result(const ZORUnicodeString& key, const Type* record); \
  virtual HRESULT Get##Kind##Result(const ZORUnicodeString& key, Type*& record);
  OKS_RECORD_KINDS(OKS_RECORD_RESULTS)
#undef OKS_RECORD_RESULTS

  // The last status reported through ExecutionFailure, 0 when none.
  long LastExecutionFailure() const { return lastFailure_; }

 private:
  long lastFailure_ = 0;
};
