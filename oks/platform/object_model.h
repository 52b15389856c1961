// The server's object modeler: the root object class, meta objects, the dictionary of
// implemented interfaces, generic objects made from a late-type name, smart handles and the
// adapter (Tie) services.
//
// Registration (meta objects, dictionary entries, late types) happens while libraries load and
// unload, under the modeler's lock. What commands and hosts read afterwards (a late type's
// class, its factory, its creator) is read without a lock: entries are published atomically and
// never freed, a withdrawn one keeps its place with nothing in it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <oks/platform/faults.h>
#include <oks/platform/hresult.h>

struct _GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};
  bool operator==(const _GUID& o) const;
};

extern const _GUID IID_IUnknown;
extern const _GUID IID_MIROIBaseCommand;
extern const _GUID IID_MIROIStreamable;

class ITypeInfo;
struct tagDISPPARAMS;
struct tagVARIANT;
struct tagEXCEPINFO;
struct ZORSysChangeComponentStateContext;
class ZORMetaClass;
class ZORBaseUnknown;
using IUnknown = ZORBaseUnknown;

namespace oks {
struct LateTypeEntry;
}  // namespace oks

enum ENUMTypeOfClass : int {};

using ZORFactory = ZORBaseUnknown* (*)(ZORBaseUnknown* object, ZORBaseUnknown* second);
using ZORCreator = ZORBaseUnknown* (*)();

// The root of every object of the object modeler; reference counted.
class ZORBaseUnknown {
 public:
  enum ComponentState { Created, Active, Inactive, Destroyed };

  ZORBaseUnknown() = default;
  ZORBaseUnknown(const ZORBaseUnknown&) = delete;
  ZORBaseUnknown& operator=(const ZORBaseUnknown&) = delete;

  virtual HRESULT QueryInterface(const _GUID& iid, void** out);
  virtual unsigned long AddRef();
  virtual unsigned long Release();
  virtual HRESULT GetTypeInfoCount(unsigned int* count);
  virtual HRESULT GetTypeInfo(unsigned int index, unsigned long locale, ITypeInfo** info);
  virtual HRESULT GetIDsOfNames(const _GUID& iid, wchar_t** names, unsigned int count, unsigned long locale,
                                long* ids);
  virtual HRESULT Invoke(long id, const _GUID& iid, unsigned long locale, unsigned short flags,
                         tagDISPPARAMS* params, tagVARIANT* result, tagEXCEPINFO* info,
                         unsigned int* argError);
  virtual ~ZORBaseUnknown();
  virtual ZORMetaClass* GetMetaObject() const;
  virtual const char* IsA() const;
  virtual int IsAKindOf(const char* name) const;
  // The implementation behind this object: for an adapter the object it forwards to, else
  // the object itself.
  virtual ZORBaseUnknown* GetImpl(int level = 1) const;
  virtual void SetImpl(ZORBaseUnknown* impl);
  virtual int IsNull() const;
  virtual int IsEqual(const ZORBaseUnknown* other) const;
  // The object itself when it offers the named interface, else null.
  virtual ZORBaseUnknown* QueryInterface(const char* interfaceName) const;
  virtual HRESULT ChangeComponentState(ComponentState from, ComponentState to,
                                       const ZORSysChangeComponentStateContext* context);

  static ZORMetaClass* MetaObject();

  // The class allocator: storage for objects of the object modeler.
  static void* operator new(std::size_t size);
  static void operator delete(void* p);
  // Storage for an object of a kind that fault injection may refuse; null when refused.
  static void* ClassAllocate(std::size_t size, oks::AllocKind kind);
  static void ClassDeallocate(void* p);

  long RefCount() const { return refCount_; }

 private:
  friend ZORBaseUnknown* Tie_Construct(IUnknown*, ZORMetaClass*, ZORBaseUnknown**, int, ZORBaseUnknown*,
                                       const _GUID&, int, ZORBaseUnknown*, ZORCreator, ZORBaseUnknown*,
                                       ZORBaseUnknown**);
  friend void Tie_Destruct(IUnknown*, ZORBaseUnknown**, int, long);
  friend ZORBaseUnknown* Tie_Link(ZORBaseUnknown*, ZORBaseUnknown*, const _GUID&);

  long refCount_ = 1;
  // The adapter linked to this object, which holds it; null when none.
  ZORBaseUnknown* linkedAdapter_ = nullptr;
};

// A meta object: the class identifier, class name, late type and type-of-class value of a
// class, or the interface and implementation of an adapter.
class ZORMetaClass {
 public:
  // A class's meta object.
  ZORMetaClass(const char* className, ENUMTypeOfClass typeOfClass, ZORMetaClass* base, const char* lateType,
               const char* component, long size);
  // An adapter's meta object.
  ZORMetaClass(const _GUID* iid, const char* interfaceName, ZORMetaClass* interfaceMeta,
               ZORMetaClass* implMeta, int typeOfClass);
  ~ZORMetaClass();
  ZORMetaClass(const ZORMetaClass&) = delete;
  ZORMetaClass& operator=(const ZORMetaClass&) = delete;

  static void* operator new(std::size_t size);
  static void operator delete(void* p);
  // ZORMetaClass's own allocator, which fault injection may refuse (null).
  static void* Allocate(std::size_t size);
  static void Deallocate(void* p);

  const _GUID& ClassId() const { return classId_; }
  const char* ClassName() const { return className_.c_str(); }
  const char* LateType() const { return lateType_.c_str(); }
  const char* Component() const { return component_.c_str(); }
  int TypeOfClass() const { return typeOfClass_; }
  long Size() const { return size_; }
  ZORMetaClass* Base() const { return base_; }
  ZORMetaClass* InterfaceMeta() const { return interfaceMeta_; }
  ZORMetaClass* ImplMeta() const { return implMeta_; }
  // Non-zero when the class is, or derives from, the named class.
  int IsAKindOf(const char* name) const;

  // How the object modeler creates an object of this class from its late type.
  void SetCreator(ZORCreator creator) { creator_.store(creator, std::memory_order_release); }
  ZORCreator Creator() const { return creator_.load(std::memory_order_acquire); }

  // The factory of the dictionary entry by which this class implements the interface, or null.
  ZORFactory factoryFor(const _GUID& iid) const;
  // Whether the dictionary holds an entry for this class.
  bool hasFactory() const;

 private:
  friend class ZORFillDictionary;
  // A dictionary entry of this class. Entries are added under the modeler's lock and freed
  // with the meta object; withdrawing one clears its factory.
  struct Implementation {
    const ZORMetaClass* interfaceMeta;
    std::atomic<ZORFactory> factory;
    Implementation* next;
  };
  void setFactory(const ZORMetaClass* interfaceMeta, ZORFactory factory);

  _GUID classId_;
  std::string className_;
  std::string lateType_;
  std::string component_;
  int typeOfClass_ = 0;
  long size_ = 0;
  ZORMetaClass* base_ = nullptr;
  ZORMetaClass* interfaceMeta_ = nullptr;
  ZORMetaClass* implMeta_ = nullptr;
  std::atomic<ZORCreator> creator_{nullptr};
  std::atomic<Implementation*> implementations_{nullptr};
};

// The meta object of a class, registered under its late type; created on first request.
ZORMetaClass* fct_RetrieveMetaObject(const char* className, ENUMTypeOfClass typeOfClass, ZORMetaClass* base,
                                     const char* lateType, const char* component, long size);

// A dictionary entry: the class of the first meta object implements the interface of the
// second through the factory. The entry is withdrawn when the object is destroyed (library
// unload), so that no lookup reaches unloaded code.
class ZORFillDictionary {
 public:
  ZORFillDictionary(ZORMetaClass* classMeta, ZORMetaClass* interfaceMeta, ZORFactory factory, void* reserved,
                    int flags);
  ~ZORFillDictionary();
  ZORFillDictionary(const ZORFillDictionary&) = delete;
  ZORFillDictionary& operator=(const ZORFillDictionary&) = delete;

 private:
  ZORMetaClass* classMeta_;
  ZORMetaClass* interfaceMeta_;
};

namespace oks {

// The meta object registered under a late type, or null.
ZORMetaClass* findLateType(const char* lateType);
// The late types registered with a creator, in name order.
std::vector<const ZORMetaClass*> registeredClasses();
// Registers a platform class (a streamer) under a late type and the interface it implements
// directly.
void registerLateType(const char* lateType, const _GUID& iid, ZORCreator creator);

// Serialises the construction of adapters, which set their class statics as they are built:
// the object modeler holds it while it calls an adapter factory, and the factories take it
// too, so that a direct call is serialised as well. Recursive.
class AdapterConstructionLock {
 public:
  AdapterConstructionLock();
  ~AdapterConstructionLock();
  AdapterConstructionLock(const AdapterConstructionLock&) = delete;
  AdapterConstructionLock& operator=(const AdapterConstructionLock&) = delete;
};

}  // namespace oks

// A generic object made from a late-type name: asking it for an interface creates the object
// of the registered class and hands out the interface. The late type is looked up once, when
// the object is made (again on each use while it is not registered).
class ZORObject : public ZORBaseUnknown {
 public:
  ZORObject(const char* lateType, const char* second);
  ~ZORObject() override;

  using ZORBaseUnknown::QueryInterface;
  HRESULT QueryInterface(const _GUID& iid, void** out) override;
  ZORBaseUnknown* GetImpl(int level = 1) const override;
  int IsNull() const override;

 private:
  // The late type's entry, looked up now if it was not found before; null when unregistered.
  const oks::LateTypeEntry* entry() const;

  mutable const oks::LateTypeEntry* entry_ = nullptr;
  std::string unresolved_;  // the late type, kept only while it has no entry
  ZORBaseUnknown* impl_ = nullptr;
};

// A reference-counted handle; empty when null. Copying adds a reference, destruction releases.
template <class T>
class ZORHandle {
 public:
  ZORHandle() = default;
  ZORHandle(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ZORHandle(const ZORHandle& o) : ZORHandle(o.p_) {}
  ZORHandle(ZORHandle&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ZORHandle& operator=(ZORHandle o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ZORHandle() {
    if (p_) p_->Release();
  }

  T* operator->() const { return p_; }
  T* get() const { return p_; }
  bool operator!() const { return p_ == nullptr; }
  explicit operator bool() const { return p_ != nullptr; }
  int IsNull() const { return p_ == nullptr; }
  // Takes a reference already counted for the handle.
  void attach(T* p) {
    if (p_) p_->Release();
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

using ZORBaseUnknown_var = ZORHandle<ZORBaseUnknown>;

// A handle on one interface of an object; empty when the object lacks it.
template <class I>
class ZORInterfaceVar {
 public:
  ZORInterfaceVar() = default;
  explicit ZORInterfaceVar(IUnknown* object) { __CastTo(object); }
  ZORInterfaceVar(const ZORBaseUnknown_var& object) { __CastTo(object.get()); }

  void __CastTo(IUnknown* object) {
    ZORBaseUnknown* offered = object ? object->QueryInterface(I::InterfaceName()) : nullptr;
    object_ = ZORBaseUnknown_var(offered);
    iface_ = offered ? dynamic_cast<I*>(offered) : nullptr;
    if (!iface_) object_ = ZORBaseUnknown_var();
  }

  I* operator->() const { return iface_; }
  bool operator!() const { return iface_ == nullptr; }
  int IsNull() const { return iface_ == nullptr; }
  ZORBaseUnknown* object() const { return object_.get(); }

 private:
  ZORBaseUnknown_var object_;
  I* iface_ = nullptr;
};

// Adapter services of the object modeler.
ZORBaseUnknown* Tie_Construct(IUnknown* adapter, ZORMetaClass* adapterMeta, ZORBaseUnknown** implField,
                              int flags, ZORBaseUnknown* impl, const _GUID& classId, int typeOfClass,
                              ZORBaseUnknown* ptstat, ZORCreator createItself, ZORBaseUnknown* second,
                              ZORBaseUnknown** companionField);
void Tie_Destruct(IUnknown* adapter, ZORBaseUnknown** implField, int typeOfClass, long refCount);
// The adapter already linked to an object for an interface (with a new reference), or null.
ZORBaseUnknown* Tie_Link(ZORBaseUnknown* impl, ZORBaseUnknown* second, const _GUID& iid);
HRESULT Tie_Query(IUnknown* adapter, ZORBaseUnknown* impl, ZORBaseUnknown* companion,
                  ZORMetaClass* adapterMeta, int flags, const _GUID& iid, void** out);
unsigned long Tie_AddRef(ZORBaseUnknown* impl, int typeOfClass, long* refCount);
unsigned long Tie_Release(int* deleteFlag, ZORBaseUnknown** implField, ZORBaseUnknown* companion,
                          int typeOfClass, long* refCount);
HRESULT Tie_GetTypeInfoCount(IUnknown* adapter, ZORMetaClass* meta, unsigned int* count);
HRESULT Tie_GetTypeInfo(IUnknown* adapter, ZORMetaClass* meta, unsigned int index, unsigned long locale,
                        ITypeInfo** info);
HRESULT Tie_GetIDsOfNames(IUnknown* adapter, ZORMetaClass* meta, const _GUID& iid, wchar_t** names,
                          unsigned int count, unsigned long locale, long* ids);
HRESULT Tie_Invoke(IUnknown* adapter, ZORMetaClass* meta, long id, const _GUID& iid, unsigned long locale,
                   unsigned short flags, tagDISPPARAMS* params, tagVARIANT* result, tagEXCEPINFO* info,
                   unsigned int* argError);

// The adapter call context: Run gives the object a forwarded call goes to and records it as the
// calling thread's current call; the thread's previous one is restored when the Tie_StackCtx
// is destroyed, on every exit.
class Tie_StackCtx {
 public:
  Tie_StackCtx() = default;
  ~Tie_StackCtx();
  Tie_StackCtx(const Tie_StackCtx&) = delete;
  Tie_StackCtx& operator=(const Tie_StackCtx&) = delete;

  ZORBaseUnknown* Run(ZORBaseUnknown* ptstat, ZORBaseUnknown* impl);

 private:
  ZORBaseUnknown** location_ = nullptr;
  ZORBaseUnknown* saved_ = nullptr;
};
