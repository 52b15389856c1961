#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

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

// A class identifier derived from the class name, stable from run to run.
_GUID guidFromName(const std::string& name) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
  std::uint64_t h2 = h * 0x9E3779B97F4A7C15ull;
  return makeGuid(static_cast<std::uint32_t>(h >> 32), static_cast<std::uint16_t>(h >> 16),
                  static_cast<std::uint16_t>(h), h2);
}

struct PlatformType {
  _GUID iid;
  ZORCreator creator;
};

struct Registry {
  std::recursive_mutex mutex;
  std::map<std::string, ZORMetaClass*> byClassName;
  std::map<std::string, ZORMetaClass*> byLateType;
  std::map<std::pair<const ZORMetaClass*, const ZORMetaClass*>, ZORFactory> dictionary;
  std::map<std::string, PlatformType> platformTypes;
  std::map<ZORBaseUnknown*, ZORBaseUnknown*> adapterOf;      // implementation -> adapter
  std::map<const ZORBaseUnknown*, ZORBaseUnknown**> implOf;  // adapter -> implementation field
};

Registry& registry() {
  static Registry* r = new Registry;  // lives as long as the process
  return *r;
}

// The adapter call context shared by the adapters of a class.
class TieContext : public ZORBaseUnknown {
 public:
  ZORBaseUnknown* current = nullptr;
  unsigned long AddRef() override { return 1; }
  unsigned long Release() override { return 1; }
};

TieContext& tieContext() {
  static TieContext* c = new TieContext;
  return *c;
}

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

ZORBaseUnknown* ZORBaseUnknown::GetImpl(int) const {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  auto it = r.implOf.find(this);
  if (it != r.implOf.end()) return *it->second;
  return const_cast<ZORBaseUnknown*>(this);
}

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

ZORMetaClass* fct_RetrieveMetaObject(const char* className, ENUMTypeOfClass typeOfClass, ZORMetaClass* base,
                                     const char* lateType, const char* component, long size) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  std::string name = className ? className : "";
  auto it = r.byClassName.find(name);
  ZORMetaClass* meta = nullptr;
  if (it != r.byClassName.end()) {
    meta = it->second;
  } else {
    meta = new ZORMetaClass(className, typeOfClass, base, lateType, component, size);
    r.byClassName[name] = meta;
  }
  if (lateType && *lateType) r.byLateType[lateType] = meta;
  return meta;
}

// --- Dictionary -----------------------------------------------------------------------------

ZORFillDictionary::ZORFillDictionary(ZORMetaClass* classMeta, ZORMetaClass* interfaceMeta, ZORFactory factory,
                                     void*, int)
    : classMeta_(classMeta), interfaceMeta_(interfaceMeta) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  r.dictionary[{classMeta, interfaceMeta}] = factory;
}

ZORFillDictionary::~ZORFillDictionary() {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  r.dictionary.erase({classMeta_, interfaceMeta_});
}

namespace oks {
namespace {

ZORFactory findFactory(const ZORMetaClass* classMeta, const _GUID& iid) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  for (const auto& [key, factory] : r.dictionary)
    if (key.first == classMeta && key.second && key.second->ClassId() == iid) return factory;
  return nullptr;
}

bool hasAnyFactory(const ZORMetaClass* classMeta) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  for (const auto& entry : r.dictionary)
    if (entry.first.first == classMeta) return true;
  return false;
}

const PlatformType* findPlatformType(const std::string& lateType) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  auto it = r.platformTypes.find(lateType);
  return it == r.platformTypes.end() ? nullptr : &it->second;
}

}  // namespace

ZORMetaClass* findLateType(const char* lateType) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  auto it = r.byLateType.find(lateType ? lateType : "");
  if (it == r.byLateType.end()) return nullptr;
  return it->second->Creator() && hasAnyFactory(it->second) ? it->second : nullptr;
}

std::vector<const ZORMetaClass*> registeredClasses() {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  std::vector<const ZORMetaClass*> out;
  for (const auto& [lateType, meta] : r.byLateType)
    if (meta->Creator() && hasAnyFactory(meta)) out.push_back(meta);
  return out;
}

void registerLateType(const char* lateType, const _GUID& iid, ZORCreator creator) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  r.platformTypes[lateType] = PlatformType{iid, creator};
}

}  // namespace oks

// --- ZORObject ------------------------------------------------------------------------------

ZORObject::ZORObject(const char* lateType, const char*) : lateType_(lateType ? lateType : "") {}

ZORObject::~ZORObject() {
  if (impl_) impl_->Release();
}

int ZORObject::IsNull() const {
  return oks::findLateType(lateType_.c_str()) == nullptr && oks::findPlatformType(lateType_) == nullptr;
}

ZORBaseUnknown* ZORObject::GetImpl(int) const { return impl_; }

HRESULT ZORObject::QueryInterface(const _GUID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown) return ZORBaseUnknown::QueryInterface(iid, out);

  if (const PlatformType* type = oks::findPlatformType(lateType_)) {
    if (!(type->iid == iid)) return E_NOINTERFACE;
    auto fault = oks::streamerFault(lateType_);
    if (fault && !fault->interface) return fault->status.value_or(E_NOINTERFACE);
    ZORBaseUnknown* object = type->creator();
    if (!object) return E_OUTOFMEMORY;
    if (fault && !fault->impl) object->SetImpl(nullptr);
    HRESULT status = object->QueryInterface(iid, out);
    object->Release();
    return fault && fault->status && SUCCEEDED(status) ? *fault->status : status;
  }

  ZORMetaClass* meta = oks::findLateType(lateType_.c_str());
  if (!meta) return E_NOINTERFACE;
  ZORFactory factory = oks::findFactory(meta, iid);
  if (!factory) return E_NOINTERFACE;
  if (!impl_) impl_ = meta->Creator()();
  if (!impl_) return E_OUTOFMEMORY;
  ZORBaseUnknown* adapter = factory(impl_, nullptr);
  if (!adapter) return E_OUTOFMEMORY;
  *out = adapter;
  return S_OK;
}

// --- Tie services ---------------------------------------------------------------------------

ZORBaseUnknown* Tie_Construct(IUnknown* adapter, ZORMetaClass*, ZORBaseUnknown** implField, int,
                              ZORBaseUnknown* impl, const _GUID&, int, ZORBaseUnknown*, ZORCreator,
                              ZORBaseUnknown* second, ZORBaseUnknown** companionField) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  *implField = impl;
  if (impl) impl->AddRef();
  if (companionField) *companionField = second;
  r.adapterOf[impl] = adapter;
  r.implOf[adapter] = implField;
  return &tieContext();
}

void Tie_Destruct(IUnknown* adapter, ZORBaseUnknown** implField, int, long) {
  ZORBaseUnknown* impl = nullptr;
  {
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> lock(r.mutex);
    r.implOf.erase(adapter);
    impl = *implField;
    auto it = r.adapterOf.find(impl);
    if (it != r.adapterOf.end() && it->second == adapter) r.adapterOf.erase(it);
    *implField = nullptr;
  }
  if (impl) impl->Release();
}

ZORBaseUnknown* Tie_Link(ZORBaseUnknown* impl, ZORBaseUnknown*, const _GUID&) {
  auto& r = registry();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  auto it = r.adapterOf.find(impl);
  if (it == r.adapterOf.end()) return nullptr;
  it->second->AddRef();
  return it->second;
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
  auto* context = dynamic_cast<TieContext*>(ptstat);
  if (!context) return impl;
  location_ = &context->current;
  saved_ = *location_;
  *location_ = impl;
  return impl;
}

Tie_StackCtx::~Tie_StackCtx() {
  if (location_) *location_ = saved_;
}
