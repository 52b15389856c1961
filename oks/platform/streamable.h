// Streamable objects: a typed object behind the generic streamable interface, and the streamers
// the commands return records and texts through.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <oks/platform/object_model.h>
#include <oks/platform/zor_unicode_string.h>
#include <oks/types/qem_config.h>

// The streamable interface. GetObject is type-checked: asking for an object of another type
// than the one carried answers E_NOINTERFACE and a null pointer.
class MIROIStreamable : public ZORBaseUnknown {
 public:
  static const char* InterfaceName() { return "MIROIStreamable"; }

  virtual HRESULT GetObject(ZORUnicodeString*& object) = 0;
  virtual HRESULT GetObject(QEMConfig::NormalValueSeq*& object) = 0;
  virtual HRESULT GetObject(QEMConfig::MultiCOFilter*& object) = 0;
  virtual HRESULT GetObject(QEMConfig::DomainEffectivitySeq*& object) = 0;
  virtual HRESULT GetObject(QEMConfig::MileStoneValueSeq*& object) = 0;
  virtual HRESULT GetObject(ZORListPtrQEMIQAttributeFilterObject*& object) = 0;
  virtual HRESULT GetObject(ZORListPtrQEMIQObjectQuery*& object) = 0;
  // The name of the carried type.
  virtual HRESULT GetTypeName(ZORUnicodeString& name) = 0;
};

using MIROIStreamable_var = ZORHandle<MIROIStreamable>;

namespace oks {

// A streamable that carries nothing: every accessor answers with the accessor status (S_OK
// unless set) and a null pointer. The typed streamers below derive from it.
class StreamableBase : public MIROIStreamable {
 public:
  explicit StreamableBase(std::string lateType = "") : lateType_(std::move(lateType)) {}

  using ZORBaseUnknown::QueryInterface;
  HRESULT QueryInterface(const _GUID& iid, void** out) override;
  ZORBaseUnknown* QueryInterface(const char* interfaceName) const override;
  ZORBaseUnknown* GetImpl(int level = 1) const override;
  // SetImpl(nullptr) makes GetImpl yield no implementation (a streamer fault).
  void SetImpl(ZORBaseUnknown* impl) override { implMissing_ = impl == nullptr; }

  HRESULT GetObject(ZORUnicodeString*& object) override { return none(object); }
  HRESULT GetObject(QEMConfig::NormalValueSeq*& object) override { return none(object); }
  HRESULT GetObject(QEMConfig::MultiCOFilter*& object) override { return none(object); }
  HRESULT GetObject(QEMConfig::DomainEffectivitySeq*& object) override { return none(object); }
  HRESULT GetObject(QEMConfig::MileStoneValueSeq*& object) override { return none(object); }
  HRESULT GetObject(ZORListPtrQEMIQAttributeFilterObject*& object) override { return none(object); }
  HRESULT GetObject(ZORListPtrQEMIQObjectQuery*& object) override { return none(object); }
  HRESULT GetTypeName(ZORUnicodeString& name) override;

  // The late type the streamer was made under (empty for a host-made streamable).
  const std::string& lateType() const { return lateType_; }
  // Makes every accessor answer this status (and no object when it is negative).
  void setAccessorStatus(HRESULT status) { accessorStatus_ = status; }
  // Overrides the type name the streamable reports.
  void setTypeName(const std::string& name) { typeName_ = name; }
  virtual bool hasObject() const { return false; }

 protected:
  virtual std::string carriedTypeName() const { return ""; }
  HRESULT status() const { return accessorStatus_.value_or(S_OK); }

  template <class T>
  HRESULT none(T*& object) {
    object = nullptr;
    return accessorStatus_ ? *accessorStatus_ : (hasObject() ? E_NOINTERFACE : S_OK);
  }

 private:
  std::string lateType_;
  std::optional<HRESULT> accessorStatus_;
  std::optional<std::string> typeName_;
  bool implMissing_ = false;
};

// A streamer of one record type. SetObject takes ownership of the record.
template <class T>
class RecordStreamer : public StreamableBase {
 public:
  RecordStreamer(std::string lateType, std::string typeName)
      : StreamableBase(std::move(lateType)), typeName_(std::move(typeName)) {}

  void SetObject(T* object) { object_.reset(object); }
  const T* object() const { return object_.get(); }
  bool hasObject() const override { return object_ != nullptr; }

  using StreamableBase::GetObject;
  HRESULT GetObject(T*& object) override {
    object = FAILED(status()) ? nullptr : object_.get();
    return status();
  }

 protected:
  std::string carriedTypeName() const override { return typeName_; }

 private:
  std::unique_ptr<T> object_;
  std::string typeName_;
};

}  // namespace oks

class MultiCOFilterStreamer : public oks::RecordStreamer<QEMConfig::MultiCOFilter> {
 public:
  static constexpr const char* LateType = "FilterValueSeqStreamerLT";
  MultiCOFilterStreamer() : RecordStreamer(LateType, "MultiCOFilter") {}
};

class NormalValueSeqStreamer : public oks::RecordStreamer<QEMConfig::NormalValueSeq> {
 public:
  static constexpr const char* LateType = "NormalValueSeqStreamerLT";
  NormalValueSeqStreamer() : RecordStreamer(LateType, "NormalValueSeq") {}
};

class MileStoneValueSeqStreamer : public oks::RecordStreamer<QEMConfig::MileStoneValueSeq> {
 public:
  static constexpr const char* LateType = "MileStoneValueSeqStreamerLT";
  MileStoneValueSeqStreamer() : RecordStreamer(LateType, "MileStoneValueSeq") {}
};

class DomainEffectivitySeqStreamer : public oks::RecordStreamer<QEMConfig::DomainEffectivitySeq> {
 public:
  static constexpr const char* LateType = "DomainEffectivitySeqStreamerLT";
  DomainEffectivitySeqStreamer() : RecordStreamer(LateType, "DomainEffectivitySeq") {}
};

class DescriptionFilterSeqStreamer : public oks::RecordStreamer<ZORListPtrQEMIQAttributeFilterObject> {
 public:
  static constexpr const char* LateType = "DescriptionFilterSeqStreamerLT";
  DescriptionFilterSeqStreamer() : RecordStreamer(LateType, "QEMIListOfAttributeFilterObjects") {}
};

// Carries a list of object queries (the host hands such lists to commands as parameters).
class ObjectQuerySeqStreamer : public oks::RecordStreamer<ZORListPtrQEMIQObjectQuery> {
 public:
  static constexpr const char* LateType = "ObjectQuerySeqStreamerLT";
  ObjectQuerySeqStreamer() : RecordStreamer(LateType, "QEMIListOfObjectQueries") {}
};

// Carries a text; SetObject copies the text it is given.
class ZORUnicodeStringStreamer : public oks::StreamableBase {
 public:
  static constexpr const char* LateType = "StringStreamerLT";
  ZORUnicodeStringStreamer() : StreamableBase(LateType) {}

  void SetObject(const ZORUnicodeString* text) {
    if (text)
      text_ = *text;
    else
      text_.reset();
  }
  const ZORUnicodeString* object() const { return text_ ? &*text_ : nullptr; }
  bool hasObject() const override { return text_.has_value(); }

  using StreamableBase::GetObject;
  HRESULT GetObject(ZORUnicodeString*& object) override {
    object = FAILED(status()) || !text_ ? nullptr : &*text_;
    return status();
  }

 protected:
  std::string carriedTypeName() const override { return "ZORUnicodeString"; }

 private:
  std::optional<ZORUnicodeString> text_;
};
