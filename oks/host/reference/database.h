// The reference store in a database: SQLite for a file path, PostgreSQL for a libpq URI
// (postgresql://...). The back end is chosen by the location's form, and every statement that
// differs between back ends is in one table (database.cpp); the schema is the same on both.
//
// Objects are rows of one table, indexed by their binary UUID, by owner, by name and type, by
// the single references the operations follow backwards (product type, source, parent, the two
// context nodes of a handler); the specifications an object lists are rows of a second table
// indexed by the specification. Each row keeps the object's store-file form as JSON.
//
// A database keeps its schema version; another version is refused, naming both. SQLite runs
// with a write-ahead log, synchronous=FULL (a committed transaction survives a power cut), a
// busy timeout, and takes the write lock when a transaction begins. PostgreSQL runs every
// transaction at SERIALIZABLE: a transaction the server cannot serialize with concurrent ones
// fails as retryable, and its command runs again (ReferenceSession::run).
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include <oks/reference/store.h>

namespace oks::host {

// A store that cannot be opened, read or written: one line saying why. Retryable: the server
// gave up the transaction for a concurrent one's sake (a serialization failure or a deadlock);
// the same work on a fresh transaction may commit.
class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const std::string& what, bool retryable = false)
      : std::runtime_error(what), retryable_(retryable) {}
  bool retryable() const { return retryable_; }

 private:
  bool retryable_;
};

class Database : public reference::StoreBackend {
 public:
  static constexpr int kSchemaVersion = 1;

  enum class Mode {
    Open,       // an existing database
    Create,     // a new database; an existing file, or a server database holding a store, is refused
    Replace,    // a new database in place of an existing file, or of the store's tables on a server
    Temporary,  // a database in memory (SQLite), gone when closed
  };
  // Whether the location names a database on a PostgreSQL server (a libpq URI).
  static bool onServer(const std::string& location);
  // How long a command waits for another writer's lock: 5 s, or OKS_STORE_BUSY_TIMEOUT_MS
  // (PostgreSQL: how long a statement waits for a row or table lock).
  static int defaultBusyTimeoutMs();
  // Opens the database at the location (a file path or a libpq URI); throws StoreError.
  static std::unique_ptr<Database> open(const std::string& location, Mode mode,
                                        int busyTimeoutMs = defaultBusyTimeoutMs());

  ~Database() override;

  // The location as messages name it: a URI without its password.
  const std::string& location() const { return location_; }
  bool readOnly() const { return readOnly_; }

  // The first failure of an operation since the last call, and forgets it: an operation inside
  // a command may fail where the command's caller cannot see the error. The first is the cause:
  // on PostgreSQL every later statement of the transaction fails because of it.
  std::optional<StoreError> takeFailure() { return std::exchange(failure_, std::nullopt); }

  // Runs a statement of the back end's own (a test limits the database's size with it).
  void execute(const std::string& statement);
  // What a check of the database says: "ok" when it finds nothing wrong. SQLite checks its file;
  // PostgreSQL, whose storage its own log keeps whole, checks what the schema cannot declare:
  // one schema version, and every listed specification's holder there.
  std::string integrityCheck();
  // Removes the store: the file (SQLite) or the store's tables (PostgreSQL), after rolling back
  // the transaction left open; closes it.
  void discard();
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
  Database(std::string location, std::string path, std::unique_ptr<Connection> connection, bool readOnly);
  // Runs the work, turning a back end's error into a StoreError naming the database.
  template <class F>
  auto guarded(const char* doing, F work);

  std::string location_;
  std::string path_;  // the SQLite file; empty for a server or a temporary database
  std::unique_ptr<Connection> connection_;
  bool readOnly_;
  std::optional<StoreError> failure_;
};

}  // namespace oks::host
