// Shapes that recur across commands: trace lines, the service object, reading parameters,
// service outputs the command owns until it hands them over, returning a record or text through
// a streamer, and the environment bracket on the root desktop.
#pragma once

#include <exception>
#include <memory>
#include <new>
#include <utility>

#include <oks/platform/command_host.h>
#include <oks/platform/trace.h>
#include <oks/service/config_service.h>
#include <oks/service/session.h>

namespace oks {

// The configuration service as the commands call it.
using ConfigService = QEM_ConfigImplementation_1::ConfigImplementation;

// --- Trace lines ---------------------------------------------------------------------------------

// Writes one trace message: its parts, then a separate "\n".
template <class... Parts>
void traceLine(ZORQemTrace& trace, const Parts&... parts) {
  (trace << ... << parts);
  trace << "\n";
}

// Traces "Unable to retrieve <key>" and gives back the status to return.
inline HRESULT unableToRetrieve(ZORQemTrace& trace, const char* key, HRESULT status) {
  traceLine(trace, "Unable to retrieve ", key);
  return status;
}

// Traces " <name> executed successfully.".
inline void traceSucceeded(ZORQemTrace& trace, const char* name) {
  traceLine(trace, " ", name, " executed successfully.");
}

// Traces "BO--><name> Function Failed".
inline void traceFunctionFailed(ZORQemTrace& trace, const char* name) {
  traceLine(trace, "BO-->", name, " Function Failed");
}

// The line a command traces when its service call failed: the standard "BO--><name> Function
// Failed" unless the command has a text of its own, or none.
class FailureLine {
 public:
  constexpr FailureLine() = default;
  // Not explicit, so that a rule row gives its own text alone.
  constexpr FailureLine(const char* text) : text_(text) {}
  static constexpr FailureLine none() {
    FailureLine line;
    line.silent_ = true;
    return line;
  }

  void trace(ZORQemTrace& trace, const char* name) const {
    if (silent_) return;
    if (text_)
      traceLine(trace, text_);
    else
      traceFunctionFailed(trace, name);
  }

 private:
  const char* text_ = nullptr;
  bool silent_ = false;
};

// Traces the outcome of a service call by its status: the success line of the command when it
// is not negative, else its failure line; gives the status back.
inline HRESULT reportOutcome(ZORQemTrace& trace, const char* name, HRESULT status,
                             const FailureLine& failure = {}) {
  if (FAILED(status))
    failure.trace(trace, name);
  else
    traceSucceeded(trace, name);
  return status;
}

// --- The service object --------------------------------------------------------------------------

// A service object on the heap, for the commands that make it there; null when the allocation
// is refused, traced "Unable to create QEM_ConfigImplementation_1::ConfigImplementation".
inline std::unique_ptr<ConfigService> makeService(ZORQemTrace& trace) {
  std::unique_ptr<ConfigService> service(new (std::nothrow) ConfigService);
  if (!service) traceLine(trace, "Unable to create QEM_ConfigImplementation_1::ConfigImplementation");
  return service;
}

// --- Parameters ----------------------------------------------------------------------------------

// A value or record parameter as read: the getter's status and the value, which a failing
// getter leaves as it was.
template <class T>
struct ValueParam {
  HRESULT status = S_OK;
  T value{};

  bool failed() const { return FAILED(status); }
  // The value read; when it could not be read, the fallback, after tracing the message.
  T orDefault(ZORQemTrace& trace, T fallback, const char* message) const {
    if (!failed()) return value;
    traceLine(trace, message);
    return fallback;
  }
};

// Reads a value parameter into a value that starts as initial.
template <class T>
ValueParam<T> readValue(MIROBaseCommandNoSO& command, const ZORUnicodeString& key, T initial = T()) {
  ValueParam<T> param{S_OK, std::move(initial)};
  param.status = command.GetParameter(key, param.value);
  return param;
}

// A record getter of the host, such as GetNodeParameter.
template <class T>
using RecordGetter = HRESULT (MIROAppBaseCommand::*)(const ZORUnicodeString&, T*&);

// Reads a record parameter with get, the record null until read.
template <class T>
ValueParam<T*> readValue(MIROAppBaseCommand& command, RecordGetter<T> get, const ZORUnicodeString& key) {
  ValueParam<T*> param;
  param.status = (command.*get)(key, param.value);
  return param;
}

// Reads a record parameter into record (null first). On failure traces "Unable to retrieve "
// followed by the label, the key unless another is given, and gives back the getter's status.
template <class T>
HRESULT readRecord(MIROAppBaseCommand& command, ZORQemTrace& trace, RecordGetter<T> get, const char* key,
                   T*& record, const char* label = nullptr) {
  const auto param = readValue(command, get, key);
  record = param.value;
  if (param.failed()) traceLine(trace, "Unable to retrieve ", label ? label : key);
  return param.status;
}

// Two record parameters of one kind, "Param0" and "Param1" (such as the two context nodes a
// configuration handler lives under), as read, with the status of the last getter called.
template <class T>
struct Param0And1 {
  HRESULT status = S_OK;
  T* first = nullptr;
  T* second = nullptr;
};

// Reads "Param0" and then "Param1" with the same getter, as readRecord; "Param1" is not read
// when "Param0" fails.
template <class T>
Param0And1<T> readParam0And1(MIROAppBaseCommand& command, ZORQemTrace& trace, RecordGetter<T> get) {
  Param0And1<T> params;
  params.status = readRecord(command, trace, get, "Param0", params.first);
  if (SUCCEEDED(params.status)) params.status = readRecord(command, trace, get, "Param1", params.second);
  return params;
}

// The filter mode and the filter 150 mode as a command reads them under its two keys: each that
// cannot be read takes its default (2 and 0), traced.
struct FilterModes {
  int mode = 2;
  unsigned char mode150 = 0;
};
inline FilterModes readFilterModes(MIROBaseCommandNoSO& command, ZORQemTrace& trace, const char* modeKey,
                                   const char* mode150Key) {
  FilterModes modes;
  modes.mode = readValue<int>(command, modeKey)
                   .orDefault(trace, 2, "Filter mode not explicitly set, setting it to its default");
  modes.mode150 = readValue<unsigned char>(command, mode150Key)
                      .orDefault(trace, 0, "Filter 150 mode not explicitly set, setting it to its default");
  return modes;
}

// A streamable parameter as read: the getter's status, or the accessor's once it was asked;
// the handle (kept for the whole execution) and the object it carries, if any.
template <class T>
struct StreamableParam {
  HRESULT status = S_OK;
  MIROIStreamable_var handle;
  T* object = nullptr;

  bool failed() const { return FAILED(status); }
  // The getter succeeded but gave an empty handle.
  bool emptyHandle() const { return !failed() && !handle; }
};

// Reads a streamable parameter: the getter, then, for a non-empty handle, the object accessor
// (the object pointer is zeroed first).
template <class T>
StreamableParam<T> readStreamable(MIROBaseCommandNoSO& command, const ZORUnicodeString& key) {
  StreamableParam<T> param;
  param.status = command.GetParameter(key, param.handle);
  if (SUCCEEDED(param.status) && param.handle) {
    param.object = nullptr;
    param.status = param.handle->GetObject(param.object);
    if (FAILED(param.status)) param.object = nullptr;
  }
  return param;
}

// The object a streamable parameter carries, or the empty value when it carries none (absent,
// getter or accessor failing, empty handle, null object): the service never gets a null
// reference.
template <class T>
const T& objectOr(const StreamableParam<T>& param, const T& empty) {
  return param.object ? *param.object : empty;
}

// A copy of the text a streamable parameter carries, or the empty text.
inline ZORUnicodeString textOr(const StreamableParam<ZORUnicodeString>& param) {
  return param.object ? *param.object : ZORUnicodeString();
}

// Reads the domain text; traces "Failed to get the domain" when the getter or the accessor
// fails (whether that ends the command is the command's rule).
inline StreamableParam<ZORUnicodeString> readDomain(MIROBaseCommandNoSO& command, ZORQemTrace& trace,
                                                    const ZORUnicodeString& key) {
  auto domain = readStreamable<ZORUnicodeString>(command, key);
  if (domain.failed()) traceLine(trace, "Failed to get the domain");
  return domain;
}

// The optional effectivity filter of a specification query: the values and the domain, under
// the command's two keys. What cannot be had is passed empty, traced "Failed to get the
// filterNode" or "Failed to get the domain" when the host or the streamable reported a failure.
class EffectivityFilter {
 public:
  EffectivityFilter(MIROBaseCommandNoSO& command, ZORQemTrace& trace, const char* valuesKey,
                    const char* domainKey)
      : values_(readStreamable<QEMConfig::NormalValueSeq>(command, valuesKey)) {
    if (values_.failed()) traceLine(trace, "Failed to get the filterNode");
    domain_ = textOr(readDomain(command, trace, domainKey));
  }
  const QEMConfig::NormalValueSeq& values() const { return objectOr(values_, noValues_); }
  const ZORUnicodeString& domain() const { return domain_; }

 private:
  StreamableParam<QEMConfig::NormalValueSeq> values_;
  QEMConfig::NormalValueSeq noValues_;
  ZORUnicodeString domain_;
};

// An attribute-filter list parameter: the list its streamable carries; when the getter fails,
// an empty list of the command's own (its message traced); a handle carrying none, no list.
class AttributeFilterParam {
 public:
  AttributeFilterParam(MIROBaseCommandNoSO& command, ZORQemTrace& trace, const char* key, const char* message)
      : param_(readStreamable<ZORListPtrQEMIQAttributeFilterObject>(command, key)) {
    if (param_.failed() && !param_.handle) {
      traceLine(trace, message);
      own_ = std::make_unique<ZORListPtrQEMIQAttributeFilterObject>(0);
    }
  }
  const ZORListPtrQEMIQAttributeFilterObject* list() const { return own_ ? own_.get() : param_.object; }

 private:
  StreamableParam<ZORListPtrQEMIQAttributeFilterObject> param_;
  std::unique_ptr<ZORListPtrQEMIQAttributeFilterObject> own_;
};

// --- Outputs and results -------------------------------------------------------------------------

// A record the service returns through an output pointer. It is null before the call and
// freed when the command did not hand it over.
template <class T>
class OutRecord {
 public:
  OutRecord() = default;
  explicit OutRecord(T* initial) : p_(initial) {}
  ~OutRecord() { delete p_; }
  OutRecord(const OutRecord&) = delete;
  OutRecord& operator=(const OutRecord&) = delete;

  // The output pointer, for the service call.
  T*& out() { return p_; }
  T* get() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands the record over (to a result setter or a streamer).
  T* release() { return std::exchange(p_, nullptr); }

 private:
  T* p_ = nullptr;
};

// What became of a streamer result.
struct StreamerOutcome {
  HRESULT queryStatus = S_OK;  // status of the streamer's interface query
  bool gotInterface = false;   // false: the streamer could not be had, nothing was set
  HRESULT setStatus = S_OK;    // status of SetResult when it was called
};

namespace detail {

// Releases an object's reference on every exit, exceptions included.
template <class T>
class ReleasedOnExit {
 public:
  explicit ReleasedOnExit(T* object) : object_(object) {}
  ~ReleasedOnExit() {
    if (object_) object_->Release();
  }
  ReleasedOnExit(const ReleasedOnExit&) = delete;
  ReleasedOnExit& operator=(const ReleasedOnExit&) = delete;

 private:
  T* object_;
};

// Makes a streamer of the late type; the interface pointer (with its own reference) or null.
MIROIStreamable* makeStreamer(const char* lateType, HRESULT& queryStatus);
HRESULT setStreamable(MIROBaseCommandNoSO& command, const ZORUnicodeString& key, MIROIStreamable* streamer);

}  // namespace detail

// Returns a record under a key through a streamer of type Streamer, which takes it. When the
// streamer cannot be had, or has no implementation to take the record, the record is freed.
// With setWithoutInterface, SetResult is called with an empty handle when no interface came.
template <class Streamer, class T>
StreamerOutcome streamRecord(MIROBaseCommandNoSO& command, const ZORUnicodeString& key,
                             std::unique_ptr<T> record, bool setWithoutInterface = false) {
  StreamerOutcome outcome;
  MIROIStreamable* streamer = detail::makeStreamer(Streamer::LateType, outcome.queryStatus);
  outcome.gotInterface = streamer != nullptr;
  if (!streamer) {
    if (setWithoutInterface) outcome.setStatus = detail::setStreamable(command, key, nullptr);
    return outcome;
  }
  detail::ReleasedOnExit<MIROIStreamable> released(streamer);
  if (auto* impl = dynamic_cast<Streamer*>(streamer->GetImpl(1))) impl->SetObject(record.release());
  outcome.setStatus = detail::setStreamable(command, key, streamer);
  return outcome;
}

// Returns a record the command owns through a streamer, as streamRecord.
template <class Streamer, class T>
StreamerOutcome streamRecord(MIROBaseCommandNoSO& command, const ZORUnicodeString& key, OutRecord<T>& record,
                             bool setWithoutInterface = false) {
  return streamRecord<Streamer>(command, key, std::unique_ptr<T>(record.release()), setWithoutInterface);
}

// Returns a text under a key through a "StringStreamerLT" streamer, which copies it.
StreamerOutcome streamText(MIROBaseCommandNoSO& command, const ZORUnicodeString& key,
                           const ZORUnicodeString& text);

// Whether the streamer could be had; when it could not, traces the failure line,
// "QueryInterface Failed" unless the command has its own.
inline bool streamerHad(ZORQemTrace& trace, const StreamerOutcome& outcome,
                        const char* failure = "QueryInterface Failed") {
  if (!outcome.gotInterface) traceLine(trace, failure);
  return outcome.gotInterface;
}

// The status a command returns after handing a record or text to a streamer: when no streamer
// could be had, "QueryInterface Failed" and E_FAIL; otherwise the status of SetResult.
inline HRESULT streamedStatus(ZORQemTrace& trace, const StreamerOutcome& outcome) {
  return streamerHad(trace, outcome) ? outcome.setStatus : E_FAIL;
}

// "TRUE" when the byte is exactly 1, else "FALSE".
inline ZORUnicodeString trueFalse(unsigned char flag) { return flag == 1 ? "TRUE" : "FALSE"; }
// True exactly for the text "TRUE".
inline bool isTrueText(const ZORUnicodeString* text) { return text && *text == "TRUE"; }

// --- The environment bracket ---------------------------------------------------------------------

// The root desktop of a command run and the environment selected on it. Once an environment is
// selected, a normal exit closes it (when there is a desktop); an exception passing never does,
// nor does an exit before the selection. A command that closes on other exits says so with
// closeOnExit; one that must trace after closing calls close() itself.
class EnvironmentBracket {
 public:
  EnvironmentBracket() : desktop_(GetRootDesktop()), exceptions_(std::uncaught_exceptions()) {}
  // May pass on what the desktop throws while closing, as a close written out would.
  ~EnvironmentBracket() noexcept(false) {
    if (closeOnExit_ && std::uncaught_exceptions() == exceptions_) close();
  }
  EnvironmentBracket(const EnvironmentBracket&) = delete;
  EnvironmentBracket& operator=(const EnvironmentBracket&) = delete;

  bool hasDesktop() const { return !desktop_.IsNull(); }
  // Whether there is a desktop; without one, traces "Unable to get handle to template root
  // desktop.".
  bool desktopFound(ZORQemTrace& trace) const {
    if (!hasDesktop()) traceLine(trace, "Unable to get handle to template root desktop.");
    return hasDesktop();
  }

  // Selects the environment; its status is the desktop's, E_FAIL without a desktop.
  HRESULT push(const ZORUnicodeString& environment) {
    closeOnExit_ = true;
    return hasDesktop() ? desktop_->PushEnvironment(environment) : E_FAIL;
  }
  // Asks the server for its data domain; unless it is "-", traces "Using <domain><suffix>" and
  // selects it. With "-" nothing is selected and nothing is closed on exit.
  void selectDataDomain(ZORQemTrace& trace, const char* suffix) {
    const ZORUnicodeString domain = QEM_ServerServices::GetDataDomain();
    closeOnExit_ = !(domain == "-");
    if (closeOnExit_) {
      traceLine(trace, "Using ", domain, suffix);
      push(domain);
    }
  }
  // Whether a normal exit from here on closes the environment, selected or not.
  void closeOnExit(bool close) { closeOnExit_ = close; }
  // Closes the environment now when there is a desktop; the exit closes nothing more.
  void close() {
    closeOnExit_ = false;
    if (hasDesktop()) desktop_->PopEnvironment();
  }

 private:
  ZORIRootDesktop_var desktop_;
  int exceptions_;
  bool closeOnExit_ = false;
};

}  // namespace oks
