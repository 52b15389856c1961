#include <mutex>

#include <oks/platform/broker.h>
#include <oks/platform/trace.h>

namespace oks {
namespace {

std::mutex& sinkMutex() {
  static std::mutex m;
  return m;
}
TraceSink* currentSink = nullptr;

template <class F>
void toSink(F&& f) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  if (currentSink) f(*currentSink);
}

}  // namespace

void setTraceSink(TraceSink* sink) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  currentSink = sink;
}

ScopedTraceSink::ScopedTraceSink(TraceSink* sink) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  previous_ = currentSink;
  currentSink = sink;
}

ScopedTraceSink::~ScopedTraceSink() { setTraceSink(previous_); }

void TraceCapture::flush() {
  if (pending_.empty()) return;
  lines_.push_back({pending_, depth_});
  pending_.clear();
}

void TraceCapture::stepOpened(const std::string& name) {
  flush();
  lines_.push_back({"+" + name, depth_});
  ++depth_;
}

void TraceCapture::stepClosed(const std::string& name) {
  flush();
  if (depth_ > 0) --depth_;
  lines_.push_back({"-" + name, depth_});
}

void TraceCapture::text(const std::string& fragment) {
  std::size_t start = 0;
  for (std::size_t nl = fragment.find('\n'); nl != std::string::npos; nl = fragment.find('\n', start)) {
    pending_ += fragment.substr(start, nl - start);
    lines_.push_back({pending_, depth_});
    pending_.clear();
    start = nl + 1;
  }
  pending_ += fragment.substr(start);
}

std::vector<TraceLine> TraceCapture::take() {
  flush();
  std::vector<TraceLine> out;
  out.swap(lines_);
  depth_ = 0;
  return out;
}

}  // namespace oks

ZORQemTrace::ZORQemTrace(const char* component, const char*, const char*, int, ZORTraMode)
    : component_(component ? component : "") {
  oks::logStatic("+ZORQemTrace");
}

ZORQemTrace::~ZORQemTrace() { oks::logStatic("-ZORQemTrace"); }

ZORQemTrace& ZORQemTrace::operator<<(const char* text) {
  std::string t = text ? text : "";
  oks::toSink([&](oks::TraceSink& s) { s.text(t); });
  return *this;
}

ZORQemTrace& ZORQemTrace::operator<<(const ZORUnicodeString& text) { return *this << text.ConvertToChar(); }
ZORQemTrace& ZORQemTrace::operator<<(int value) { return *this << std::to_string(value).c_str(); }
ZORQemTrace& ZORQemTrace::operator<<(long value) { return *this << std::to_string(value).c_str(); }

void ZORQemTrace::openStep(const char* name) {
  std::string n = name ? name : "";
  oks::toSink([&](oks::TraceSink& s) { s.stepOpened(n); });
}

void ZORQemTrace::closeStep(const char* name) {
  std::string n = name ? name : "";
  oks::toSink([&](oks::TraceSink& s) { s.stepClosed(n); });
}

ZORQemTraceStep::ZORQemTraceStep(ZORQemTrace& channel, const char* name)
    : channel_(channel), name_(name ? name : "") {
  channel_.openStep(name_.c_str());
}

ZORQemTraceStep::~ZORQemTraceStep() { channel_.closeStep(name_.c_str()); }

const char* const ZORQemTrace_returns = "returns ";
const char* const ZORQemTrace_nl = "\n";

namespace QEM_TypeNames {
const char* const CreateMask = "CreateMask";
const char* const BrowseMask = "BrowseMask";
}  // namespace QEM_TypeNames
