#include <utility>

#include <oks/api/command.h>

namespace oks {

namespace {

void check(HRESULT status, std::string_view key, const std::string& lateType) {
  if (FAILED(status))
    throw CommandError(
        lateType + " refused parameter " + std::string(key) + " (status " + std::to_string(status) + ")",
        status);
}

template <class Record>
using RecordSetter = HRESULT (MIROAppBaseCommand::*)(const ZORUnicodeString&, const Record*);

// Hands a copy of the record to the command, which owns it once accepted.
template <class Record>
HRESULT setRecord(MIROAppBaseCommand& command, RecordSetter<Record> setter, std::string_view key,
                  const Record& record) {
  auto copy = std::make_unique<Record>(record);
  HRESULT status = (command.*setter)(ZORUnicodeString(std::string(key)), copy.get());
  if (SUCCEEDED(status)) copy.release();
  return status;
}

}  // namespace

MIROIBaseCommand* makeCommandAdapter(const std::string& lateType, HRESULT& status) {
  ZORBaseUnknown* object = new ZORObject(lateType.c_str(), nullptr);
  MIROIBaseCommand* adapter = nullptr;
  status = E_NOINTERFACE;
  if (!object->IsNull())
    status = object->QueryInterface(IID_MIROIBaseCommand, reinterpret_cast<void**>(&adapter));
  object->Release();
  return adapter;
}

Command::Command(std::string_view lateType) : lateType_(lateType) {
  HRESULT status;
  adapter_ = makeCommandAdapter(lateType_, status);
  if (adapter_) implementation_ = dynamic_cast<MIROAppBaseCommand*>(adapter_->GetImpl(1));
  if (implementation_) return;
  release();
  if (!CommandLibrary::registered(lateType_))
    throw CommandError("no command is registered under late type " + lateType_, E_NOINTERFACE);
  throw CommandError("the command of late type " + lateType_ + " could not be made",
                     FAILED(status) ? status : E_FAIL);
}

Command::~Command() { release(); }

Command::Command(Command&& other) noexcept
    : lateType_(std::move(other.lateType_)),
      adapter_(std::exchange(other.adapter_, nullptr)),
      implementation_(std::exchange(other.implementation_, nullptr)),
      trace_(std::move(other.trace_)) {}

Command& Command::operator=(Command&& other) noexcept {
  if (this != &other) {
    release();
    lateType_ = std::move(other.lateType_);
    adapter_ = std::exchange(other.adapter_, nullptr);
    implementation_ = std::exchange(other.implementation_, nullptr);
    trace_ = std::move(other.trace_);
  }
  return *this;
}

void Command::release() {
  if (adapter_) adapter_->Release();
  adapter_ = nullptr;
  implementation_ = nullptr;
}

#define OKS_COMMAND_SET_RECORD(Kind, Type)                                                         \
  Command& Command::set(std::string_view key, const Type& value) {                                 \
    check(setRecord(*implementation_, &MIROAppBaseCommand::Set##Kind##Parameter, key, value), key, \
          lateType_);                                                                              \
    return *this;                                                                                  \
  }
OKS_RECORD_KINDS(OKS_COMMAND_SET_RECORD)
#undef OKS_COMMAND_SET_RECORD

#define OKS_COMMAND_SET_VALUE(Type)                                                           \
  Command& Command::set(std::string_view key, const Type& value) {                            \
    check(adapter_->SetParameter(ZORUnicodeString(std::string(key)), value), key, lateType_); \
    return *this;                                                                             \
  }
OKS_COMMAND_SET_VALUE(MIROIStreamable_var)
OKS_COMMAND_SET_VALUE(ZORUnicodeString)
OKS_COMMAND_SET_VALUE(int)
OKS_COMMAND_SET_VALUE(double)
OKS_COMMAND_SET_VALUE(unsigned char)
OKS_COMMAND_SET_VALUE(ZORListValZORUnicodeString)
OKS_COMMAND_SET_VALUE(ZORRawCollint)
OKS_COMMAND_SET_VALUE(ZORRawColldouble)
OKS_COMMAND_SET_VALUE(_SEQUENCE_octet)
#undef OKS_COMMAND_SET_VALUE

HRESULT Command::execute() {
  TraceCapture capture;
  ScopedTraceSink sink(&capture);
  struct KeepTrace {
    TraceCapture& capture;
    std::vector<TraceLine>& trace;
    ~KeepTrace() { trace = capture.take(); }
  } keep{capture, trace_};
  return adapter_->Execute();
}

const StoredValue* Command::findResult(std::string_view key) const {
  for (const auto& [name, value] : implementation_->Results().entries())
    if (name == key) return &value;
  return nullptr;
}

std::optional<std::string> Command::text(std::string_view key) const {
  if (auto value = result<ZORUnicodeString>(key)) return value->str();
  auto handle = result<MIROIStreamable_var>(key);
  const auto* streamer =
      handle && *handle ? dynamic_cast<const ZORUnicodeStringStreamer*>(handle->get()) : nullptr;
  if (streamer && streamer->object()) return streamer->object()->str();
  return std::nullopt;
}

std::vector<std::string> Command::resultKeys() const {
  std::vector<std::string> keys;
  for (const auto& entry : implementation_->Results().entries()) keys.push_back(entry.first);
  return keys;
}

}  // namespace oks
