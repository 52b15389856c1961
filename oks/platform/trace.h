// The trace facility: per-unit trace channels and scoped trace steps, all writing to one
// process-wide trace sink.
#pragma once

#include <string>
#include <vector>

#include <oks/platform/zor_unicode_string.h>

namespace oks {

// Receives every trace event of the process. The default sink discards them.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void stepOpened(const std::string& name) = 0;
  virtual void stepClosed(const std::string& name) = 0;
  virtual void text(const std::string& fragment) = 0;
};

// Installs a sink (null restores the discarding default). Safe from several threads.
void setTraceSink(TraceSink* sink);

// One line of a captured trace: "+step", "-step" or a message, with the step depth it was
// written at.
struct TraceLine {
  std::string text;
  int depth = 0;
};

// A sink that keeps the canonical lines: fragments are joined up to each "\n", and text still
// pending when a step opens or closes is ended as a line first.
class TraceCapture : public TraceSink {
 public:
  void stepOpened(const std::string& name) override;
  void stepClosed(const std::string& name) override;
  void text(const std::string& fragment) override;

  // The lines so far, pending text included; clears the capture.
  std::vector<TraceLine> take();

 private:
  void flush();
  std::vector<TraceLine> lines_;
  std::string pending_;
  int depth_ = 0;
};

// Installs a sink for the lifetime of the object and restores the previous one.
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

// A trace channel. Text is written with operator<<; numbers in signed decimal.
class ZORQemTrace {
 public:
  ZORQemTrace(const char* component, const char* channel, const char* output, int bufferSize,
              ZORTraMode mode);
  ~ZORQemTrace();
  ZORQemTrace(const ZORQemTrace&) = delete;
  ZORQemTrace& operator=(const ZORQemTrace&) = delete;

  ZORQemTrace& operator<<(const char* text);
  ZORQemTrace& operator<<(const ZORUnicodeString& text);
  ZORQemTrace& operator<<(int value);
  ZORQemTrace& operator<<(long value);
  ZORQemTrace& operator<<(unsigned char value) { return *this << static_cast<int>(value); }

  void openStep(const char* name);
  void closeStep(const char* name);

  const std::string& component() const { return component_; }

 private:
  std::string component_;
};

// A trace step: opened on construction, closed on destruction (every exit, exceptions included).
class ZORQemTraceStep {
 public:
  ZORQemTraceStep(ZORQemTrace& channel, const char* name);
  ~ZORQemTraceStep();
  ZORQemTraceStep(const ZORQemTraceStep&) = delete;
  ZORQemTraceStep& operator=(const ZORQemTraceStep&) = delete;

  ZORQemTrace& Channel() const { return channel_; }
  template <class T>
  ZORQemTrace& operator<<(const T& value) {
    return channel_ << value;
  }

 private:
  ZORQemTrace& channel_;
  std::string name_;
};

// The label of a final status line and the trace's line end.
extern const char* const ZORQemTrace_returns;
extern const char* const ZORQemTrace_nl;

namespace QEM_TypeNames {
extern const char* const CreateMask;
extern const char* const BrowseMask;
}  // namespace QEM_TypeNames
