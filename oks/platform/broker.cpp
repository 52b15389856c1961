#include <map>
#include <mutex>

#include <oks/platform/broker.h>

namespace oks {
namespace {

struct StaticsLog {
  std::mutex mutex;
  bool on = false;
  std::vector<std::string> events;
};

StaticsLog& staticsLog() {
  static StaticsLog* log = new StaticsLog;  // outlives every unit that logs into it
  return *log;
}

}  // namespace

void enableStaticsLog(bool on) {
  auto& log = staticsLog();
  std::lock_guard<std::mutex> lock(log.mutex);
  log.on = on;
}

void logStatic(const std::string& event) {
  auto& log = staticsLog();
  std::lock_guard<std::mutex> lock(log.mutex);
  if (log.on) log.events.push_back(event);
}

std::vector<std::string> takeStaticsLog() {
  auto& log = staticsLog();
  std::lock_guard<std::mutex> lock(log.mutex);
  std::vector<std::string> out;
  out.swap(log.events);
  return out;
}

}  // namespace oks

Iostream_init::Iostream_init() { oks::logStatic("+Iostream_init"); }
Iostream_init::~Iostream_init() { oks::logStatic("-Iostream_init"); }
IT_InitOrbix::IT_InitOrbix() { oks::logStatic("+IT_InitOrbix"); }
IT_InitOrbix::~IT_InitOrbix() { oks::logStatic("-IT_InitOrbix"); }

namespace CORBA {
namespace {

struct TypeCodeRegistry {
  std::mutex mutex;
  std::map<std::string, int> count;
};

TypeCodeRegistry& typeCodes() {
  static TypeCodeRegistry* r = new TypeCodeRegistry;
  return *r;
}

// The repository identifier of a stringified type code "IDL:Module/Record:1.0[...]".
std::string repositoryId(const char* stringified) {
  std::string s = stringified ? stringified : "";
  auto end = s.find(":1.0");
  return end == std::string::npos ? s : s.substr(0, end + 4);
}

}  // namespace

Environment default_environment;

typeCode::typeCode(const char* stringified) : id_(repositoryId(stringified)) {
  {
    auto& r = typeCodes();
    std::lock_guard<std::mutex> lock(r.mutex);
    ++r.count[id_];
  }
  oks::logStatic("+typeCode " + id_);
}

typeCode::~typeCode() {
  {
    auto& r = typeCodes();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (--r.count[id_] == 0) r.count.erase(id_);
  }
  oks::logStatic("-typeCode " + id_);
}

int typeCode::registered(const std::string& id) {
  auto& r = typeCodes();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.count.find(id);
  return it == r.count.end() ? 0 : it->second;
}

}  // namespace CORBA
