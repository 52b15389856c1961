#include <cstring>

#include <oks/platform/streamable.h>

namespace oks {

HRESULT StreamableBase::QueryInterface(const _GUID& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!(iid == IID_IUnknown) && !(iid == IID_MIROIStreamable)) return E_NOINTERFACE;
  AddRef();
  *out = static_cast<MIROIStreamable*>(this);
  return S_OK;
}

ZORBaseUnknown* StreamableBase::QueryInterface(const char* interfaceName) const {
  if (interfaceName && std::strcmp(interfaceName, MIROIStreamable::InterfaceName()) == 0)
    return const_cast<StreamableBase*>(this);
  return nullptr;
}

ZORBaseUnknown* StreamableBase::GetImpl(int) const {
  return implMissing_ ? nullptr : const_cast<StreamableBase*>(this);
}

HRESULT StreamableBase::GetTypeName(ZORUnicodeString& name) {
  name = ZORUnicodeString(typeName_ ? *typeName_ : carriedTypeName());
  return accessorStatus_ && FAILED(*accessorStatus_) ? *accessorStatus_ : S_OK;
}

namespace {

template <class T>
ZORBaseUnknown* make() {
  return new T;
}

// Registers the streamers under their late types when the stand-in server is loaded.
struct StreamerRegistration {
  StreamerRegistration() {
    registerLateType(MultiCOFilterStreamer::LateType, IID_MIROIStreamable, &make<MultiCOFilterStreamer>);
    registerLateType(NormalValueSeqStreamer::LateType, IID_MIROIStreamable, &make<NormalValueSeqStreamer>);
    registerLateType(MileStoneValueSeqStreamer::LateType, IID_MIROIStreamable,
                     &make<MileStoneValueSeqStreamer>);
    registerLateType(DomainEffectivitySeqStreamer::LateType, IID_MIROIStreamable,
                     &make<DomainEffectivitySeqStreamer>);
    registerLateType(DescriptionFilterSeqStreamer::LateType, IID_MIROIStreamable,
                     &make<DescriptionFilterSeqStreamer>);
    registerLateType(ObjectQuerySeqStreamer::LateType, IID_MIROIStreamable, &make<ObjectQuerySeqStreamer>);
    registerLateType(ZORUnicodeStringStreamer::LateType, IID_MIROIStreamable,
                     &make<ZORUnicodeStringStreamer>);
  }
} streamerRegistration;

}  // namespace
}  // namespace oks
