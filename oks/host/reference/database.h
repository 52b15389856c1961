// The reference store in a database: SQLite for a file path; the back end is chosen by the
// location's form, and every statement that could differ between back ends is in one table
// (database.cpp), so that another back end (postgresql://...) is one more entry.
//
// Objects are rows of one table, indexed by their binary UUID, by owner, by name and type, by
// the single references the operations follow backwards (product type, source, parent, the two
// context nodes of a handler); the specifications an object lists are rows of a second table
// indexed by the specification. Each row keeps the object's store-file form as JSON.
//
// A database keeps its schema version; another version is refused, naming both. SQLite runs
// with a write-ahead log, synchronous=FULL (a committed transaction survives a power cut), a
// busy timeout, and takes the write lock when a transaction begins.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include <oks/reference/store.h>

namespace oks::host {

// A store that cannot be opened, read or written: one line saying why.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Database : public reference::StoreBackend {
 public:
  static constexpr int kSchemaVersion = 1;

  enum class Mode {
    Open,       // an existing database
    Create,     // a new database; an existing file is refused
    Replace,    // a new database in place of an existing file
    Temporary,  // a database in memory, gone when closed
  };
  // How long a command waits for another writer's lock: 5 s, or OKS_STORE_BUSY_TIMEOUT_MS.
  static int defaultBusyTimeoutMs();
  // Opens the database at the location (a file path); throws StoreError.
  static std::unique_ptr<Database> open(const std::string& location, Mode mode,
                                        int busyTimeoutMs = defaultBusyTimeoutMs());

  ~Database() override;

  const std::string& location() const { return location_; }
  bool readOnly() const { return readOnly_; }

  // The failure of the last operation that failed since the last call, and forgets it: an
  // operation inside a command may fail where the command's caller cannot see the error.
  std::string takeFailure() { return std::exchange(failure_, {}); }

  // Runs a statement of the back end's own (a test limits the database's size with it).
  void execute(const std::string& statement);
  // What the back end's own check of the database says: "ok" when it finds nothing wrong.
  std::string integrityCheck();
  // Every object in creation order, as kept.
  void forEach(const std::function<void(const reference::StoredObject&)>& each);

  void begin() override;
  void commit() override;
  void rollback() override;
  reference::StoreSettings settings() override;
  void setSettings(const reference::StoreSettings& settings) override;
  std::string encode(const reference::Object& object) override;
  reference::Object decode(const reference::StoredObject& stored) override;
  std::optional<reference::StoredObject> byUuid(const reference::Uuid& uuid) override;
  std::vector<reference::StoredObject> byName(const std::string& name, const std::string& type,
                                              int limit) override;
  std::vector<reference::StoredObject> linkedTo(reference::Link link, const reference::Uuid& uuid,
                                                const char* type) override;
  std::vector<reference::StoredObject> listing(const reference::Uuid& uuid) override;
  std::int64_t countOwnedBy(const reference::Uuid& owner) override;
  bool exists(const reference::Uuid& uuid) override;
  void insert(const reference::Object& object, const std::string& text) override;
  void update(const reference::Object& object, const std::string& text) override;
  void erase(const reference::Uuid& uuid) override;

  struct Connection;

 private:
  Database(std::string location, std::unique_ptr<Connection> connection, bool readOnly);
  // Runs the work, turning a back end's error into a StoreError naming the database.
  template <class F>
  auto guarded(const char* doing, F work);

  std::string location_;
  std::unique_ptr<Connection> connection_;
  bool readOnly_;
  std::string failure_;
};

}  // namespace oks::host
