#include <atomic>
#include <map>
#include <mutex>

#include <oks/platform/broker.h>

namespace oks {
namespace {

struct StaticsLog {
  std::atomic<bool> on{false};
  std::mutex mutex;
  std::vector<std::string> events;
};

StaticsLog& staticsLog() {
  static StaticsLog* log = new StaticsLog;  // outlives every unit that logs into it
  return *log;
}

// Registrations by repository identifier.
struct TypeCodeRegistry {
  std::mutex mutex;
  std::map<std::string, int, std::less<>> count;
};

TypeCodeRegistry& typeCodes() {
  static TypeCodeRegistry* r = new TypeCodeRegistry;
  return *r;
}

void addTypeCode(std::string_view id) {
  auto& r = typeCodes();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.count.find(id);
  if (it == r.count.end()) it = r.count.emplace(std::string(id), 0).first;
  ++it->second;
}

void removeTypeCode(std::string_view id) {
  auto& r = typeCodes();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.count.find(id);
  if (it != r.count.end() && --it->second <= 0) r.count.erase(it);
}

// The repository identifier of a stringified type code "IDL:Module/Record:1.0[...]".
std::string_view repositoryId(const char* stringified) {
  std::string_view s = stringified ? stringified : "";
  auto end = s.find(":1.0");
  return end == std::string_view::npos ? s : s.substr(0, end + 4);
}

// Logs "+typeCode ID" or "-typeCode ID"; the text is made only while the log is on.
void logTypeCode(char sign, std::string_view id) {
  if (!staticsLogOn()) return;
  std::string event(1, sign);
  logStatic(event.append("typeCode ").append(id));
}

}  // namespace

void enableStaticsLog(bool on) { staticsLog().on.store(on, std::memory_order_relaxed); }

bool staticsLogOn() { return staticsLog().on.load(std::memory_order_relaxed); }

void logStatic(std::string_view event) {
  auto& log = staticsLog();
  if (!log.on.load(std::memory_order_relaxed)) return;
  std::lock_guard<std::mutex> lock(log.mutex);
  log.events.emplace_back(event);
}

std::vector<std::string> takeStaticsLog() {
  auto& log = staticsLog();
  std::lock_guard<std::mutex> lock(log.mutex);
  std::vector<std::string> out;
  out.swap(log.events);
  return out;
}

TypeCodeRegistration::TypeCodeRegistration(std::span<const char* const> ids) : ids_(ids) {
  for (const char* id : ids_) addTypeCode(repositoryId(id));
}

TypeCodeRegistration::~TypeCodeRegistration() {
  for (const char* id : ids_) removeTypeCode(repositoryId(id));
}

UnitTypeCodes::UnitTypeCodes(std::span<const char* const> ids) : ids_(ids) {
  if (!staticsLogOn()) return;
  for (const char* id : ids_) logTypeCode('+', repositoryId(id));
}

UnitTypeCodes::~UnitTypeCodes() {
  if (!staticsLogOn()) return;
  for (auto it = ids_.rbegin(); it != ids_.rend(); ++it) logTypeCode('-', repositoryId(*it));
}

}  // namespace oks

Iostream_init::Iostream_init() { oks::logStatic("+Iostream_init"); }
Iostream_init::~Iostream_init() { oks::logStatic("-Iostream_init"); }
IT_InitOrbix::IT_InitOrbix() { oks::logStatic("+IT_InitOrbix"); }
IT_InitOrbix::~IT_InitOrbix() { oks::logStatic("-IT_InitOrbix"); }

namespace CORBA {

Environment default_environment;

typeCode::typeCode(const char* stringified) : id_(oks::repositoryId(stringified)) {
  oks::addTypeCode(id_);
  oks::logTypeCode('+', id_);
}

typeCode::~typeCode() {
  oks::removeTypeCode(id_);
  oks::logTypeCode('-', id_);
}

int typeCode::registered(const std::string& id) {
  auto& r = oks::typeCodes();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.count.find(id);
  return it == r.count.end() ? 0 : it->second;
}

}  // namespace CORBA
