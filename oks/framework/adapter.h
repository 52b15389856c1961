// The interface adapter of a command: exposes the command object through MIROIBaseCommand by
// forwarding every operation, with reference counting and interface queries from the object
// modeler's Tie services. Adapters are built one at a time (oks::AdapterConstructionLock): the
// class statics meta_object and ptstat are set while the first is built and only read after.
#pragma once

#include <new>

#include <oks/platform/command_host.h>

namespace oks {

// Derived is the unit's adapter class, which holds the class statics meta_object and ptstat.
template <class Derived, class Cmd>
class TieAdapter : public MIROIBaseCommand {
 public:
  // Built by createAdapter, which holds the construction lock.
  TieAdapter(ZORBaseUnknown* object, ZORBaseUnknown* second) {
    ZORMetaClass* meta = MetaObject();
    const _GUID& classId = Cmd::ClassId();
    ZORMetaClass* commandMeta = Cmd::MetaObject();
    ZORBaseUnknown* context =
        Tie_Construct(this, meta, &impl_, 1, object, classId, commandMeta->TypeOfClass(), Derived::ptstat,
                      &Cmd::CreateItself, second, &companion_);
    // Written once: adapters executing on other threads read it.
    if (Derived::ptstat != context) Derived::ptstat = context;
  }

  ~TieAdapter() override { Tie_Destruct(this, &impl_, typeOfClass(), refCount_); }

  static ZORMetaClass* MetaObject() {
    if (!Derived::meta_object) {
      void* block = ZORMetaClass::Allocate(sizeof(ZORMetaClass));
      if (block) {
        ZORMetaClass* interfaceMeta = MIROIBaseCommand::MetaObject();
        ZORMetaClass* commandMeta = Cmd::MetaObject();
        try {
          Derived::meta_object = ::new (block)
              ZORMetaClass(&IID_MIROIBaseCommand, "MIROIBaseCommand", interfaceMeta, commandMeta, 7);
        } catch (...) {
          ZORMetaClass::Deallocate(block);
          throw;
        }
      }
    }
    return Derived::meta_object;
  }

  // Frees the adapter meta object (library unload).
  static void DestroyMetaObject() {
    if (Derived::meta_object) {
      Derived::meta_object->~ZORMetaClass();
      ZORMetaClass::Deallocate(Derived::meta_object);
      Derived::meta_object = nullptr;
    }
  }

  using ZORBaseUnknown::QueryInterface;
  HRESULT QueryInterface(const _GUID& iid, void** out) override {
    return Tie_Query(this, impl_, companion_, Derived::meta_object, 1, iid, out);
  }
  unsigned long AddRef() override { return Tie_AddRef(impl_, typeOfClass(), &refCount_); }
  unsigned long Release() override {
    int deleteFlag = 0;
    unsigned long left = Tie_Release(&deleteFlag, &impl_, companion_, typeOfClass(), &refCount_);
    if (deleteFlag) delete this;
    return left;
  }
  HRESULT GetTypeInfoCount(unsigned int* count) override {
    return Tie_GetTypeInfoCount(this, Derived::meta_object, count);
  }
  HRESULT GetTypeInfo(unsigned int index, unsigned long locale, ITypeInfo** info) override {
    return Tie_GetTypeInfo(this, Derived::meta_object, index, locale, info);
  }
  HRESULT GetIDsOfNames(const _GUID& iid, wchar_t** names, unsigned int count, unsigned long locale,
                        long* ids) override {
    return Tie_GetIDsOfNames(this, Derived::meta_object, iid, names, count, locale, ids);
  }
  HRESULT Invoke(long id, const _GUID& iid, unsigned long locale, unsigned short flags, tagDISPPARAMS* params,
                 tagVARIANT* result, tagEXCEPINFO* info, unsigned int* argError) override {
    return Tie_Invoke(this, Derived::meta_object, id, iid, locale, flags, params, result, info, argError);
  }
  ZORMetaClass* GetMetaObject() const override { return MetaObject(); }
  // The command object the adapter forwards to.
  ZORBaseUnknown* GetImpl(int = 1) const override { return impl_; }

#define OKS_FORWARD_VALUE_KINDS(Op, Const, Ref)                                           \
  HRESULT Op(const ZORUnicodeString& key, Const MIROIStreamable_var Ref value) override { \
    return forward([&](Cmd* c) { return c->Op(key, value); });                            \
  }                                                                                       \
  HRESULT Op(const ZORUnicodeString& key, Const ZORUnicodeString Ref value) override {    \
    return forward([&](Cmd* c) { return c->Op(key, value); });                            \
  }                                                                                       \
  HRESULT Op(const ZORUnicodeString& key, Const int Ref value) override {                 \
    return forward([&](Cmd* c) { return c->Op(key, value); });                            \
  }                                                                                       \
  HRESULT Op(const ZORUnicodeString& key, Const double Ref value) override {              \
    return forward([&](Cmd* c) { return c->Op(key, value); });                            \
  }                                                                                       \
  HRESULT Op(const ZORUnicodeString& key, Const unsigned char Ref value) override {       \
    return forward([&](Cmd* c) { return c->Op(key, value); });                            \
  }
#define OKS_FORWARD_HELD_KINDS(Op, Const, Ptr)                                                   \
  HRESULT Op(const ZORUnicodeString& key, Const ZORListValZORUnicodeString Ptr value) override { \
    return forward([&](Cmd* c) { return c->Op(key, value); });                                   \
  }                                                                                              \
  HRESULT Op(const ZORUnicodeString& key, Const ZORRawCollint Ptr value) override {              \
    return forward([&](Cmd* c) { return c->Op(key, value); });                                   \
  }                                                                                              \
  HRESULT Op(const ZORUnicodeString& key, Const ZORRawColldouble Ptr value) override {           \
    return forward([&](Cmd* c) { return c->Op(key, value); });                                   \
  }                                                                                              \
  HRESULT Op(const ZORUnicodeString& key, Const _SEQUENCE_octet Ptr value) override {            \
    return forward([&](Cmd* c) { return c->Op(key, value); });                                   \
  }
#define OKS_NOTHING

  OKS_FORWARD_VALUE_KINDS(SetParameter, const, &)
  OKS_FORWARD_HELD_KINDS(SetParameter, const, &)
  OKS_FORWARD_VALUE_KINDS(GetParameter, OKS_NOTHING, &)
  OKS_FORWARD_HELD_KINDS(GetParameter, OKS_NOTHING, *&)
  HRESULT Execute() override {
    return forward([&](Cmd* c) { return c->Execute(); });
  }
  HRESULT ExecutionFailure(long status) override {
    return forward([&](Cmd* c) { return c->ExecutionFailure(status); });
  }
  OKS_FORWARD_VALUE_KINDS(SetResult, const, &)
  OKS_FORWARD_HELD_KINDS(SetResult, const, &)
  OKS_FORWARD_VALUE_KINDS(GetResult, OKS_NOTHING, &)
  OKS_FORWARD_HELD_KINDS(GetResult, OKS_NOTHING, *&)

#undef OKS_FORWARD_VALUE_KINDS
#undef OKS_FORWARD_HELD_KINDS
#undef OKS_NOTHING

 private:
  int typeOfClass() const { return Derived::meta_object ? Derived::meta_object->TypeOfClass() : 0; }

  // Calls the operation on the object the call context designates (the implementation), and
  // restores the context on every exit.
  template <class F>
  HRESULT forward(F&& call) {
    ZORBaseUnknown* target = impl_;
    Tie_StackCtx context;
    if (Derived::ptstat) target = context.Run(Derived::ptstat, impl_);
    return call(static_cast<Cmd*>(target));
  }

  ZORBaseUnknown* impl_ = nullptr;
  long refCount_ = 1;
  ZORBaseUnknown* companion_ = nullptr;
};

// The exported factory's body: the adapter already linked to the object, else a new one; null
// for a null object or when the adapter or its meta object cannot be allocated. Serialised with
// every other adapter construction, whoever calls the factory.
template <class Adapter>
ZORBaseUnknown* createAdapter(ZORBaseUnknown* object, ZORBaseUnknown* second) {
  if (!object) return nullptr;
  AdapterConstructionLock serialised;
  if (ZORBaseUnknown* linked = Tie_Link(object, second, IID_MIROIBaseCommand)) return linked;
  if (!Adapter::MetaObject()) return nullptr;
  void* block = ZORBaseUnknown::ClassAllocate(sizeof(Adapter), AllocKind::Adapter);
  if (!block) return nullptr;
  try {
    return ::new (block) Adapter(object, second);
  } catch (...) {
    ZORBaseUnknown::ClassDeallocate(block);
    throw;
  }
}

// A new command object from ZORBaseUnknown's class allocator; null when refused.
template <class Cmd>
ZORBaseUnknown* createCommand() {
  void* block = ZORBaseUnknown::ClassAllocate(sizeof(Cmd), AllocKind::Command);
  if (!block) return nullptr;
  try {
    return ::new (block) Cmd();
  } catch (...) {
    ZORBaseUnknown::ClassDeallocate(block);
    throw;
  }
}

// The unit's dictionary entry: registers that the command implements MIROIBaseCommand through
// the factory, and how the object modeler creates the command. Withdrawn at unload.
template <class Cmd, class Adapter>
class UnitRegistration {
 public:
  explicit UnitRegistration(ZORFactory factory)
      : entry_(Cmd::MetaObject(), MIROIBaseCommand::MetaObject(), factory, nullptr, 1) {
    Cmd::MetaObject()->SetCreator(&Cmd::CreateItself);
  }
  ~UnitRegistration() {
    Cmd::MetaObject()->SetCreator(nullptr);
    Adapter::DestroyMetaObject();
  }
  UnitRegistration(const UnitRegistration&) = delete;
  UnitRegistration& operator=(const UnitRegistration&) = delete;

 private:
  ZORFillDictionary entry_;
};

}  // namespace oks
