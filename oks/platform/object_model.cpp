#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <utility>

#include <oks/platform/object_model.h>

namespace {

_GUID makeGuid(std::uint32_t a, std::uint16_t b, std::uint16_t c, std::uint64_t d) {
  _GUID g;
  g.Data1 = a;
  g.Data2 = b;
  g.Data3 = c;
  for (int i = 0; i < 8; ++i) g.Data4[i] = static_cast<std::uint8_t>(d >> (8 * (7 - i)));
  return g;
}

// FNV-1a: a name's hash, stable from run to run.
std::uint64_t hashName(std::string_view name) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
  return h;
}

// A class identifier derived from the class name, stable from run to run.
_GUID guidFromName(std::string_view name) {
  std::uint64_t h = hashName(name);
  std::uint64_t h2 = h * 0x9E3779B97F4A7C15ull;
  return makeGuid(static_cast<std::uint32_t>(h >> 32), static_cast<std::uint16_t>(h >> 16),
                  static_cast<std::uint16_t>(h), h2);
}

}  // namespace

namespace oks {

struct PlatformType {
  _GUID iid;
  ZORCreator creator;
};

// What is registered under a late type: the class (command library) or the platform class
// (streamer). Made under the modeler's lock and never freed, so that a reader may keep it.
struct LateTypeEntry {
  explicit LateTypeEntry(std::string_view lateType) : name(lateType) {}
  const std::string name;
  std::atomic<ZORMetaClass*> meta{nullptr};
  std::atomic<const PlatformType*> platform{nullptr};
};

}  // namespace oks

namespace {

using oks::LateTypeEntry;
using oks::PlatformType;

// Late types by name: an open-addressing table read without a lock. Entries are only added,
// under the modeler's lock; a table that fills up is replaced by one twice its size, and the
// old one is kept, since a reader may still be probing it.
class LateTypeIndex {
 public:
  LateTypeIndex() { grow(128); }

  LateTypeEntry* find(std::string_view name) const {
    const Table* table = current_.load(std::memory_order_acquire);
    for (std::size_t i = hash(name) & table->mask;; i = (i + 1) & table->mask) {
      LateTypeEntry* entry = table->slots[i].load(std::memory_order_acquire);
      if (!entry || entry->name == name) return entry;
    }
  }

  // The entry of a late type, made when missing. The modeler's lock is held.
  LateTypeEntry& obtain(std::string_view name) {
    if (LateTypeEntry* found = find(name)) return *found;
    const Table& table = *tables_.back();
    if (2 * (entries_.size() + 1) > table.mask + 1) grow(2 * (table.mask + 1));
    entries_.push_back(std::make_unique<LateTypeEntry>(name));
    insert(*tables_.back(), entries_.back().get());
    return *entries_.back();
  }

  // Every entry, in the order made. The modeler's lock is held.
  const std::vector<std::unique_ptr<LateTypeEntry>>& entries() const { return entries_; }

 private:
  struct Table {
    explicit Table(std::size_t capacity)
        : mask(capacity - 1), slots(std::make_unique<std::atomic<LateTypeEntry*>[]>(capacity)) {}
    std::size_t mask;
    std::unique_ptr<std::atomic<LateTypeEntry*>[]> slots;
  };

  static std::size_t hash(std::string_view name) { return static_cast<std::size_t>(hashName(name)); }

  static void insert(Table& table, LateTypeEntry* entry) {
    std::size_t i = hash(entry->name) & table.mask;
    while (table.slots[i].load(std::memory_order_relaxed)) i = (i + 1) & table.mask;
    table.slots[i].store(entry, std::memory_order_release);
  }

  void grow(std::size_t capacity) {
    auto table = std::make_unique<Table>(capacity);
    for (const auto& entry : entries_) insert(*table, entry.get());
    current_.store(table.get(), std::memory_order_release);
    tables_.push_back(std::move(table));
  }

  std::atomic<const Table*> current_{nullptr};
  std::vector<std::unique_ptr<Table>> tables_;
  std::vector<std::unique_ptr<LateTypeEntry>> entries_;
};

struct Registry {
  std::mutex mutex;  // held while registering; lookups take none
  std::map<std::string, ZORMetaClass*, std::less<>> byClassName;
  LateTypeIndex lateTypes;
  std::vector<std::unique_ptr<PlatformType>> platformTypes;
  std::recursive_mutex adapterConstruction;
};

Registry& registry() {
  static Registry* r = new Registry;  // lives as long as the process
  return *r;
}

// The adapter call context shared by the adapters of a class; the current call is the thread's.
class TieContext : public ZORBaseUnknown {
 public:
  unsigned long AddRef() override { return 1; }
  unsigned long Release() override { return 1; }
};

TieContext& tieContext() {
  static TieContext* c = new TieContext;
  return *c;
}

// The object the calling thread's forwarded call goes to.
thread_local ZORBaseUnknown* currentCall = nullptr;

// Whether a class can be made from its late type: it has a creator and a dictionary entry.
bool creatable(const ZORMetaClass* meta) { return meta && meta->Creator() && meta->hasFactory(); }

}  // namespace

bool _GUID::operator==(const _GUID& o) const {
  return Data1 == o.Data1 && Data2 == o.Data2 && Data3 == o.Data3 &&
         std::memcmp(Data4, o.Data4, sizeof Data4) == 0;
}

const _GUID IID_IUnknown = makeGuid(0x00000000, 0x0000, 0x0000, 0xC000000000000046ull);
const _GUID IID_MIROIBaseCommand = makeGuid(0x5A1C0D31, 0x7E21, 0x4B8E, 0x9C3A11D2F0A1B201ull);
const _GUID IID_MIROIStreamable = makeGuid(0x5A1C0D32, 0x7E21, 0x4B8E, 0x9C3A11D2F0A1B202ull);

// --- ZORBaseUnknown -------------------------------------------------------------------------

HRESULT ZORBaseUnknown::QueryInterface(const _GUID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
  AddRef();
  *out = this;
  return S_OK;
}

unsigned long ZORBaseUnknown::AddRef() { return static_cast<unsigned long>(++refCount_); }

unsigned long ZORBaseUnknown::Release() {
  long left = --refCount_;
  if (left == 0) delete this;
  return static_cast<unsigned long>(left < 0 ? 0 : left);
}

HRESULT ZORBaseUnknown::GetTypeInfoCount(unsigned int* count) {
  if (count) *count = 0;
  return S_OK;
}
HRESULT ZORBaseUnknown::GetTypeInfo(unsigned int, unsigned long, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
HRESULT ZORBaseUnknown::GetIDsOfNames(const _GUID&, wchar_t**, unsigned int, unsigned long, long*) {
  return E_NOTIMPL;
}
HRESULT ZORBaseUnknown::Invoke(long, const _GUID&, unsigned long, unsigned short, tagDISPPARAMS*, tagVARIANT*,
                               tagEXCEPINFO*, unsigned int*) {
  return E_NOTIMPL;
}

ZORBaseUnknown::~ZORBaseUnknown() = default;

ZORMetaClass* ZORBaseUnknown::GetMetaObject() const { return MetaObject(); }
const char* ZORBaseUnknown::IsA() const { return GetMetaObject()->ClassName(); }
int ZORBaseUnknown::IsAKindOf(const char* name) const { return GetMetaObject()->IsAKindOf(name); }

ZORBaseUnknown* ZORBaseUnknown::GetImpl(int) const { return const_cast<ZORBaseUnknown*>(this); }

void ZORBaseUnknown::SetImpl(ZORBaseUnknown*) {}
int ZORBaseUnknown::IsNull() const { return 0; }
int ZORBaseUnknown::IsEqual(const ZORBaseUnknown* other) const { return other == this; }
ZORBaseUnknown* ZORBaseUnknown::QueryInterface(const char*) const { return nullptr; }
HRESULT ZORBaseUnknown::ChangeComponentState(ComponentState, ComponentState,
                                             const ZORSysChangeComponentStateContext*) {
  return S_OK;
}

ZORMetaClass* ZORBaseUnknown::MetaObject() {
  static ZORMetaClass* meta = fct_RetrieveMetaObject("ZORBaseUnknown", ENUMTypeOfClass{1}, nullptr, "", "ZOR",
                                                     sizeof(ZORBaseUnknown));
  return meta;
}

void* ZORBaseUnknown::operator new(std::size_t size) { return ::operator new(size); }
void ZORBaseUnknown::operator delete(void* p) { ClassDeallocate(p); }

void* ZORBaseUnknown::ClassAllocate(std::size_t size, oks::AllocKind kind) {
  if (oks::allocationFails(kind)) return nullptr;
  return ::operator new(size, std::nothrow);
}

void ZORBaseUnknown::ClassDeallocate(void* p) { ::operator delete(p); }

// --- ZORMetaClass ---------------------------------------------------------------------------

ZORMetaClass::ZORMetaClass(const char* className, ENUMTypeOfClass typeOfClass, ZORMetaClass* base,
                           const char* lateType, const char* component, long size)
    : classId_(guidFromName(className ? className : "")),
      className_(className ? className : ""),
      lateType_(lateType ? lateType : ""),
      component_(component ? component : ""),
      typeOfClass_(typeOfClass),
      size_(size),
      base_(base) {}

ZORMetaClass::ZORMetaClass(const _GUID* iid, const char* interfaceName, ZORMetaClass* interfaceMeta,
                           ZORMetaClass* implMeta, int typeOfClass)
    : classId_(iid ? *iid : _GUID{}),
      className_(interfaceName ? interfaceName : ""),
      typeOfClass_(typeOfClass),
      interfaceMeta_(interfaceMeta),
      implMeta_(implMeta) {}

ZORMetaClass::~ZORMetaClass() {
  for (Implementation* entry = implementations_.load(std::memory_order_relaxed); entry;)
    delete std::exchange(entry, entry->next);
}

void* ZORMetaClass::operator new(std::size_t size) { return ::operator new(size); }
void ZORMetaClass::operator delete(void* p) { Deallocate(p); }

void* ZORMetaClass::Allocate(std::size_t size) {
  if (oks::allocationFails(oks::AllocKind::AdapterMeta)) return nullptr;
  return ::operator new(size, std::nothrow);
}

void ZORMetaClass::Deallocate(void* p) { ::operator delete(p); }

int ZORMetaClass::IsAKindOf(const char* name) const {
  if (!name) return 0;
  for (const ZORMetaClass* m = this; m; m = m->base_)
    if (m->className_ == name) return 1;
  return 0;
}

ZORFactory ZORMetaClass::factoryFor(const _GUID& iid) const {
  for (const Implementation* entry = implementations_.load(std::memory_order_acquire); entry;
       entry = entry->next)
    if (entry->interfaceMeta && entry->interfaceMeta->ClassId() == iid)
      if (ZORFactory factory = entry->factory.load(std::memory_order_acquire)) return factory;
  return nullptr;
}

bool ZORMetaClass::hasFactory() const {
  for (const Implementation* entry = implementations_.load(std::memory_order_acquire); entry;
       entry = entry->next)
    if (entry->factory.load(std::memory_order_acquire)) return true;
  return false;
}

void ZORMetaClass::setFactory(const ZORMetaClass* interfaceMeta, ZORFactory factory) {
  Implementation* head = implementations_.load(std::memory_order_relaxed);
  for (Implementation* entry = head; entry; entry = entry->next)
    if (entry->interfaceMeta == interfaceMeta) {
      entry->factory.store(factory, std::memory_order_release);
      return;
    }
  if (factory)
    implementations_.store(new Implementation{interfaceMeta, factory, head}, std::memory_order_release);
}

ZORMetaClass* fct_RetrieveMetaObject(const char* className, ENUMTypeOfClass typeOfClass, ZORMetaClass* base,
                                     const char* lateType, const char* component, long size) {
  auto& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::string_view name = className ? className : "";
  auto it = r.byClassName.find(name);
  if (it == r.byClassName.end())
    it = r.byClassName
             .emplace(std::string(name),
                      new ZORMetaClass(className, typeOfClass, base, lateType, component, size))
             .first;
  ZORMetaClass* meta = it->second;
  if (lateType && *lateType) r.lateTypes.obtain(lateType).meta.store(meta, std::memory_order_release);
  return meta;
}

// --- Dictionary -----------------------------------------------------------------------------

ZORFillDictionary::ZORFillDictionary(ZORMetaClass* classMeta, ZORMetaClass* interfaceMeta, ZORFactory factory,
                                     void*, int)
    : classMeta_(classMeta), interfaceMeta_(interfaceMeta) {
  auto& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (classMeta_) classMeta_->setFactory(interfaceMeta_, factory);
}

ZORFillDictionary::~ZORFillDictionary() {
  auto& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (classMeta_) classMeta_->setFactory(interfaceMeta_, nullptr);
}

namespace oks {

ZORMetaClass* findLateType(const char* lateType) {
  const LateTypeEntry* entry = registry().lateTypes.find(lateType ? lateType : "");
  ZORMetaClass* meta = entry ? entry->meta.load(std::memory_order_acquire) : nullptr;
  return creatable(meta) ? meta : nullptr;
}

std::vector<const ZORMetaClass*> registeredClasses() {
  auto& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::vector<const LateTypeEntry*> entries;
  for (const auto& entry : r.lateTypes.entries())
    if (creatable(entry->meta.load(std::memory_order_acquire))) entries.push_back(entry.get());
  std::sort(entries.begin(), entries.end(),
            [](const LateTypeEntry* a, const LateTypeEntry* b) { return a->name < b->name; });
  std::vector<const ZORMetaClass*> out;
  for (const LateTypeEntry* entry : entries) out.push_back(entry->meta.load(std::memory_order_acquire));
  return out;
}

void registerLateType(const char* lateType, const _GUID& iid, ZORCreator creator) {
  auto& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.platformTypes.push_back(std::make_unique<PlatformType>(PlatformType{iid, creator}));
  r.lateTypes.obtain(lateType ? lateType : "")
      .platform.store(r.platformTypes.back().get(), std::memory_order_release);
}

AdapterConstructionLock::AdapterConstructionLock() { registry().adapterConstruction.lock(); }
AdapterConstructionLock::~AdapterConstructionLock() { registry().adapterConstruction.unlock(); }

}  // namespace oks

// --- ZORObject ------------------------------------------------------------------------------

ZORObject::ZORObject(const char* lateType, const char*) {
  std::string_view name = lateType ? lateType : "";
  entry_ = registry().lateTypes.find(name);
  if (!entry_) unresolved_ = name;
}

ZORObject::~ZORObject() {
  if (impl_) impl_->Release();
}

const oks::LateTypeEntry* ZORObject::entry() const {
  if (!entry_) entry_ = registry().lateTypes.find(unresolved_);
  return entry_;
}

int ZORObject::IsNull() const {
  const LateTypeEntry* e = entry();
  return !e || (!creatable(e->meta.load(std::memory_order_acquire)) &&
                !e->platform.load(std::memory_order_acquire));
}

ZORBaseUnknown* ZORObject::GetImpl(int) const { return impl_; }

HRESULT ZORObject::QueryInterface(const _GUID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown) return ZORBaseUnknown::QueryInterface(iid, out);

  const LateTypeEntry* e = entry();
  if (!e) return E_NOINTERFACE;
  if (const PlatformType* type = e->platform.load(std::memory_order_acquire)) {
    if (!(type->iid == iid)) return E_NOINTERFACE;
    auto fault = oks::streamerFault(e->name);
    if (fault && !fault->interface) return fault->status.value_or(E_NOINTERFACE);
    ZORBaseUnknown* object = type->creator();
    if (!object) return E_OUTOFMEMORY;
    if (fault && !fault->impl) object->SetImpl(nullptr);
    HRESULT status = object->QueryInterface(iid, out);
    object->Release();
    return fault && fault->status && SUCCEEDED(status) ? *fault->status : status;
  }

  ZORMetaClass* meta = e->meta.load(std::memory_order_acquire);
  if (!creatable(meta)) return E_NOINTERFACE;
  ZORFactory factory = meta->factoryFor(iid);
  if (!factory) return E_NOINTERFACE;
  if (!impl_) impl_ = meta->Creator()();
  if (!impl_) return E_OUTOFMEMORY;
  ZORBaseUnknown* adapter = nullptr;
  {
    oks::AdapterConstructionLock serialised;
    adapter = factory(impl_, nullptr);
  }
  if (!adapter) return E_OUTOFMEMORY;
  *out = adapter;
  return S_OK;
}

// --- Tie services ---------------------------------------------------------------------------

ZORBaseUnknown* Tie_Construct(IUnknown* adapter, ZORMetaClass*, ZORBaseUnknown** implField, int,
                              ZORBaseUnknown* impl, const _GUID&, int, ZORBaseUnknown*, ZORCreator,
                              ZORBaseUnknown* second, ZORBaseUnknown** companionField) {
  *implField = impl;
  if (impl) {
    impl->AddRef();
    impl->linkedAdapter_ = adapter;
  }
  if (companionField) *companionField = second;
  return &tieContext();
}

void Tie_Destruct(IUnknown* adapter, ZORBaseUnknown** implField, int, long) {
  ZORBaseUnknown* impl = std::exchange(*implField, nullptr);
  if (!impl) return;
  if (impl->linkedAdapter_ == adapter) impl->linkedAdapter_ = nullptr;
  impl->Release();
}

ZORBaseUnknown* Tie_Link(ZORBaseUnknown* impl, ZORBaseUnknown*, const _GUID&) {
  ZORBaseUnknown* adapter = impl ? impl->linkedAdapter_ : nullptr;
  if (adapter) adapter->AddRef();
  return adapter;
}

HRESULT Tie_Query(IUnknown* adapter, ZORBaseUnknown*, ZORBaseUnknown*, ZORMetaClass* adapterMeta, int,
                  const _GUID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || (adapterMeta && iid == adapterMeta->ClassId())) {
    adapter->AddRef();
    *out = adapter;
    return S_OK;
  }
  return E_NOINTERFACE;
}

unsigned long Tie_AddRef(ZORBaseUnknown*, int, long* refCount) {
  return static_cast<unsigned long>(++*refCount);
}

unsigned long Tie_Release(int* deleteFlag, ZORBaseUnknown**, ZORBaseUnknown*, int, long* refCount) {
  if (*refCount > 0) --*refCount;
  if (*refCount == 0) *deleteFlag = 1;
  return static_cast<unsigned long>(*refCount);
}

HRESULT Tie_GetTypeInfoCount(IUnknown*, ZORMetaClass*, unsigned int* count) {
  if (count) *count = 0;
  return S_OK;
}
HRESULT Tie_GetTypeInfo(IUnknown*, ZORMetaClass*, unsigned int, unsigned long, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
HRESULT Tie_GetIDsOfNames(IUnknown*, ZORMetaClass*, const _GUID&, wchar_t**, unsigned int, unsigned long,
                          long*) {
  return E_NOTIMPL;
}
HRESULT Tie_Invoke(IUnknown*, ZORMetaClass*, long, const _GUID&, unsigned long, unsigned short,
                   tagDISPPARAMS*, tagVARIANT*, tagEXCEPINFO*, unsigned int*) {
  return E_NOTIMPL;
}

ZORBaseUnknown* Tie_StackCtx::Run(ZORBaseUnknown* ptstat, ZORBaseUnknown* impl) {
  if (ptstat != &tieContext()) return impl;
  location_ = &currentCall;
  saved_ = std::exchange(currentCall, impl);
  return impl;
}

Tie_StackCtx::~Tie_StackCtx() {
  if (location_) *location_ = saved_;
}
