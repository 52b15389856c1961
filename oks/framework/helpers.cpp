#include <oks/framework/helpers.h>

namespace oks {
namespace detail {

MIROIStreamable* makeStreamer(const char* lateType, HRESULT& queryStatus) {
  ZORBaseUnknown* object = new ZORObject(lateType, nullptr);
  ReleasedOnExit<ZORBaseUnknown> released(object);
  MIROIStreamable* streamer = nullptr;
  queryStatus = object->QueryInterface(IID_MIROIStreamable, reinterpret_cast<void**>(&streamer));
  return streamer;
}

HRESULT setStreamable(MIROBaseCommandNoSO& command, const ZORUnicodeString& key, MIROIStreamable* streamer) {
  MIROIStreamable_var handle(streamer);
  return command.SetResult(key, handle);
}

}  // namespace detail

StreamerOutcome streamText(MIROBaseCommandNoSO& command, const ZORUnicodeString& key,
                           const ZORUnicodeString& text) {
  StreamerOutcome outcome;
  MIROIStreamable* streamer = detail::makeStreamer(ZORUnicodeStringStreamer::LateType, outcome.queryStatus);
  outcome.gotInterface = streamer != nullptr;
  if (!streamer) return outcome;
  detail::ReleasedOnExit<MIROIStreamable> released(streamer);
  if (auto* impl = dynamic_cast<ZORUnicodeStringStreamer*>(streamer->GetImpl(1))) impl->SetObject(&text);
  outcome.setStatus = detail::setStreamable(command, key, streamer);
  return outcome;
}

}  // namespace oks
