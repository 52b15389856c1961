// The trace facility: per-unit trace channels and scoped trace steps, writing to the trace sink
// of the calling thread (else to the process-wide one). Nothing is formatted or copied while no
// sink is installed.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include <oks/platform/zor_unicode_string.h>

namespace oks {

// Receives trace events. The texts are lent for the call only: a sink copies what it keeps.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void stepOpened(std::string_view name) = 0;
  virtual void stepClosed(std::string_view name) = 0;
  virtual void text(std::string_view fragment) = 0;
};

// Installs the process-wide sink, which hears the threads that have no sink of their own (null
// restores the discarding default). Its events are delivered one at a time, whatever the thread.
void setTraceSink(TraceSink* sink);

namespace detail {
// How many sinks are installed, on any thread; while there are none, tracing does nothing.
extern std::atomic<int> installedTraceSinks;
}  // namespace detail

inline bool traceListening() { return detail::installedTraceSinks.load(std::memory_order_relaxed) > 0; }

// One line of a captured trace: "+step", "-step" or a message, with the step depth it was
// written at.
struct TraceLine {
  std::string text;
  int depth = 0;
};

// A sink that keeps the canonical lines: fragments are joined up to each "\n", and text still
// pending when a step opens or closes is ended as a line first. One capture serves one thread.
class TraceCapture : public TraceSink {
 public:
  void stepOpened(std::string_view name) override;
  void stepClosed(std::string_view name) override;
  void text(std::string_view fragment) override;

  // The lines so far, pending text included; clears the capture.
  std::vector<TraceLine> take();

 private:
  void flush();
  std::vector<TraceLine> lines_;
  std::string pending_;
  int depth_ = 0;
};

// Installs a sink for the calling thread for the lifetime of the object and restores the
// thread's previous one: the sink hears what this thread traces, and nothing of other threads,
// so that concurrent executions each keep their own lines.
class ScopedTraceSink {
 public:
  explicit ScopedTraceSink(TraceSink* sink);
  ~ScopedTraceSink();
  ScopedTraceSink(const ScopedTraceSink&) = delete;
  ScopedTraceSink& operator=(const ScopedTraceSink&) = delete;

 private:
  TraceSink* previous_;
};

}  // namespace oks

enum ZORTraMode { ZORTraMode_Default = 0 };

// A trace channel. Text is written with operator<<; numbers in signed decimal. With no sink
// installed, writing costs one check.
class ZORQemTrace {
 public:
  ZORQemTrace(const char* component, const char* channel, const char* output, int bufferSize,
              ZORTraMode mode);
  ~ZORQemTrace();
  ZORQemTrace(const ZORQemTrace&) = delete;
  ZORQemTrace& operator=(const ZORQemTrace&) = delete;

  ZORQemTrace& operator<<(const char* text) {
    if (oks::traceListening()) write(text ? text : "");
    return *this;
  }
  ZORQemTrace& operator<<(const ZORUnicodeString& text) { return *this << text.ConvertToChar(); }
  ZORQemTrace& operator<<(int value) { return *this << static_cast<long>(value); }
  ZORQemTrace& operator<<(long value) {
    if (oks::traceListening()) writeNumber(value);
    return *this;
  }
  ZORQemTrace& operator<<(unsigned char value) { return *this << static_cast<int>(value); }

  void openStep(const char* name) {
    if (oks::traceListening()) stepEvent(true, name);
  }
  void closeStep(const char* name) {
    if (oks::traceListening()) stepEvent(false, name);
  }

  const std::string& component() const { return component_; }

 private:
  static void write(std::string_view fragment);
  static void writeNumber(long value);
  static void stepEvent(bool opened, const char* name);

  std::string component_;
};

// A trace step: opened on construction, closed on destruction (every exit, exceptions included).
// The name is not copied: it is a text constant, or a text that outlives the step.
class ZORQemTraceStep {
 public:
  ZORQemTraceStep(ZORQemTrace& channel, const char* name) : channel_(channel), name_(name) {
    channel_.openStep(name_);
  }
  ~ZORQemTraceStep() { channel_.closeStep(name_); }
  ZORQemTraceStep(const ZORQemTraceStep&) = delete;
  ZORQemTraceStep& operator=(const ZORQemTraceStep&) = delete;

  ZORQemTrace& Channel() const { return channel_; }
  template <class T>
  ZORQemTrace& operator<<(const T& value) {
    return channel_ << value;
  }

 private:
  ZORQemTrace& channel_;
  const char* name_;
};

// The label of a final status line and the trace's line end.
extern const char* const ZORQemTrace_returns;
extern const char* const ZORQemTrace_nl;

namespace QEM_TypeNames {
extern const char* const CreateMask;
extern const char* const BrowseMask;
}  // namespace QEM_TypeNames
