// What every command unit carries around its command: the class declaration, its meta object
// and late type, the adapter TIEMIROIBaseCommand<command>, the exported factory
// CreateTIEMIROIBaseCommand<command>, and the unit statics in load order (stream and broker
// initialisation, type codes, dictionary entry, trace channel).
//
// A unit names its command once, as the head of its AppExecute body:
//   OKS_COMMAND(getCHList, "OKS_getCHList", OKS_NO_DESTRUCTOR) { ... }
// The macro opens the step "<command>::AppExecute" around the body, which sees the unit's trace
// channel as `trace`. Inside the unit, oksUnitTrace() is that channel and oksUnitName the
// command's name, as its standard success and failure lines spell it.
#pragma once

#include <oks/framework/adapter.h>
#include <oks/framework/unit_statics.h>
#include <oks/platform/trace.h>

#define OKS_EXPORT extern "C" __attribute__((visibility("default")))

// Destructor kinds: none declared, declared and traced, declared and silent.
#define OKS_DTOR_DECL_OKS_NO_DESTRUCTOR(Name)
#define OKS_DTOR_DECL_OKS_TRACED_DESTRUCTOR(Name) ~Name() override;
#define OKS_DTOR_DECL_OKS_SILENT_DESTRUCTOR(Name) ~Name() override;
#define OKS_DTOR_DEF_OKS_NO_DESTRUCTOR(Name)
#define OKS_DTOR_DEF_OKS_TRACED_DESTRUCTOR(Name) \
  Name::~Name() { ZORQemTraceStep step(oksUnitTrace(), #Name "::destructor"); }
#define OKS_DTOR_DEF_OKS_SILENT_DESTRUCTOR(Name) Name::~Name() = default;

// clang-format off
#define OKS_COMMAND(Name, LateTypeText, DestructorKind)                                             \
  namespace {                                                                                       \
  ZORQemTrace& oksUnitTrace();                                                                      \
  [[maybe_unused]] constexpr const char* oksUnitName = #Name;                                       \
  }                                                                                                 \
  class Name : public MIROAppBaseCommand {                                                          \
   public:                                                                                          \
    static ZORMetaClass* meta_object;                                                               \
    Name();                                                                                         \
    OKS_DTOR_DECL_##DestructorKind(Name)                                                            \
    static ZORMetaClass* MetaObject();                                                              \
    ZORMetaClass* GetMetaObject() const override;                                                   \
    static const _GUID& ClassId();                                                                  \
    static const char* ClassName();                                                                 \
    const char* IsA() const override;                                                               \
    int IsAKindOf(const char* name) const override;                                                 \
    static ZORBaseUnknown* CreateItself();                                                          \
    HRESULT AppExecute() override;                                                                  \
                                                                                                    \
   private:                                                                                         \
    HRESULT AppExecuteBody(ZORQemTrace& trace);                                                     \
  };                                                                                                \
  ZORMetaClass* Name::meta_object = nullptr;                                                        \
  ZORMetaClass* Name::MetaObject() {                                                                \
    if (!meta_object)                                                                               \
      meta_object = fct_RetrieveMetaObject(#Name, ENUMTypeOfClass{2}, ZORBaseUnknown::MetaObject(), \
                                           LateTypeText, "MIROCfgServImpl", sizeof(Name));          \
    return meta_object;                                                                             \
  }                                                                                                 \
  ZORMetaClass* Name::GetMetaObject() const { return meta_object ? meta_object : MetaObject(); }    \
  const _GUID& Name::ClassId() { return (meta_object ? meta_object : MetaObject())->ClassId(); }    \
  const char* Name::ClassName() { return (meta_object ? meta_object : MetaObject())->ClassName(); } \
  const char* Name::IsA() const { return GetMetaObject()->ClassName(); }                            \
  int Name::IsAKindOf(const char* name) const { return GetMetaObject()->IsAKindOf(name); }          \
  ZORBaseUnknown* Name::CreateItself() { return oks::createCommand<Name>(); }                       \
  Name::Name() { ZORQemTraceStep step(oksUnitTrace(), #Name "::constructor"); }                     \
  OKS_DTOR_DEF_##DestructorKind(Name)                                                               \
  class TIEMIROIBaseCommand##Name : public oks::TieAdapter<TIEMIROIBaseCommand##Name, Name> {       \
   public:                                                                                          \
    static ZORMetaClass* meta_object;                                                               \
    static ZORBaseUnknown* ptstat;                                                                  \
    using TieAdapter::TieAdapter;                                                                   \
  };                                                                                                \
  ZORMetaClass* TIEMIROIBaseCommand##Name::meta_object = nullptr;                                   \
  ZORBaseUnknown* TIEMIROIBaseCommand##Name::ptstat = nullptr;                                      \
  OKS_EXPORT ZORBaseUnknown* CreateTIEMIROIBaseCommand##Name(ZORBaseUnknown* object,                \
                                                             ZORBaseUnknown* second) {              \
    return oks::createAdapter<TIEMIROIBaseCommand##Name>(object, second);                           \
  }                                                                                                 \
  namespace {                                                                                       \
  oks::UnitRegistration<Name, TIEMIROIBaseCommand##Name> oksUnitRegistration(                       \
      &CreateTIEMIROIBaseCommand##Name);                                                            \
  ZORQemTrace oksUnitTraceChannel(const_cast<char*>("SINGLE_IDL"), const_cast<char*>("SINGLE_IDL"), \
                                  const_cast<char*>("STDOUT"), 1024, static_cast<ZORTraMode>(0));   \
  ZORQemTrace& oksUnitTrace() { return oksUnitTraceChannel; }                                       \
  }                                                                                                 \
  HRESULT Name::AppExecute() {                                                                      \
    ZORQemTraceStep step(oksUnitTrace(), #Name "::AppExecute");                                     \
    return AppExecuteBody(oksUnitTrace());                                                          \
  }                                                                                                 \
  HRESULT Name::AppExecuteBody([[maybe_unused]] ZORQemTrace& trace)
// clang-format on
