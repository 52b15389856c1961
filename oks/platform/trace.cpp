#include <charconv>
#include <mutex>

#include <oks/platform/broker.h>
#include <oks/platform/trace.h>

namespace oks {

std::atomic<int> detail::installedTraceSinks{0};

namespace {

// The calling thread's own sink.
thread_local TraceSink* threadSink = nullptr;

// The process-wide sink, for threads without their own; called under its mutex.
struct ProcessSink {
  std::mutex mutex;
  TraceSink* sink = nullptr;
};

ProcessSink& processSink() {
  static ProcessSink* s = new ProcessSink;  // outlives every unit that traces
  return *s;
}

// Counts a change of installed sinks: from one to another, from none to one, or back.
void countSinks(const TraceSink* before, const TraceSink* after) {
  detail::installedTraceSinks.fetch_add((after != nullptr) - (before != nullptr), std::memory_order_relaxed);
}

template <class F>
void toSink(F&& f) {
  if (TraceSink* own = threadSink) {
    f(*own);
    return;
  }
  auto& p = processSink();
  std::lock_guard<std::mutex> lock(p.mutex);
  if (p.sink) f(*p.sink);
}

}  // namespace

void setTraceSink(TraceSink* sink) {
  auto& p = processSink();
  std::lock_guard<std::mutex> lock(p.mutex);
  countSinks(p.sink, sink);
  p.sink = sink;
}

ScopedTraceSink::ScopedTraceSink(TraceSink* sink) : previous_(threadSink) {
  countSinks(previous_, sink);
  threadSink = sink;
}

ScopedTraceSink::~ScopedTraceSink() {
  countSinks(threadSink, previous_);
  threadSink = previous_;
}

void TraceCapture::flush() {
  if (pending_.empty()) return;
  lines_.push_back({pending_, depth_});
  pending_.clear();
}

namespace {

// A step line: the mark ('+' opened, '-' closed) and the step's name, in one allocation. (Written
// as "+" + std::string(name), GCC 12 at -O3 reports a false -Wrestrict in the inlined copy.)
std::string stepLine(char mark, std::string_view name) {
  std::string line;
  line.reserve(name.size() + 1);
  line += mark;
  line += name;
  return line;
}

}  // namespace

void TraceCapture::stepOpened(std::string_view name) {
  flush();
  lines_.push_back({stepLine('+', name), depth_});
  ++depth_;
}

void TraceCapture::stepClosed(std::string_view name) {
  flush();
  if (depth_ > 0) --depth_;
  lines_.push_back({stepLine('-', name), depth_});
}

void TraceCapture::text(std::string_view fragment) {
  for (std::size_t nl = fragment.find('\n'); nl != std::string_view::npos; nl = fragment.find('\n')) {
    pending_ += fragment.substr(0, nl);
    lines_.push_back({std::move(pending_), depth_});
    pending_.clear();
    fragment.remove_prefix(nl + 1);
  }
  pending_ += fragment;
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

void ZORQemTrace::write(std::string_view fragment) {
  oks::toSink([&](oks::TraceSink& s) { s.text(fragment); });
}

void ZORQemTrace::writeNumber(long value) {
  char digits[24];
  auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  write(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void ZORQemTrace::stepEvent(bool opened, const char* name) {
  std::string_view n = name ? name : "";
  oks::toSink([&](oks::TraceSink& s) { opened ? s.stepOpened(n) : s.stepClosed(n); });
}

const char* const ZORQemTrace_returns = "returns ";
const char* const ZORQemTrace_nl = "\n";

namespace QEM_TypeNames {
const char* const CreateMask = "CreateMask";
const char* const BrowseMask = "BrowseMask";
}  // namespace QEM_TypeNames
