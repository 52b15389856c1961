// SOCI's configuration header asks for Boost when SOCI was built with it; nothing here uses
// SOCI's Boost conversions, so they stay off.
#include <soci/soci-config.h>
#undef SOCI_HAVE_BOOST
#undef SOCI_HAVE_BOOST_DATE_TIME
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>

#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>

namespace oks::host {

using reference::Link;
using reference::Object;
using reference::StoredObject;
using reference::Uuid;

namespace {

// What differs between back ends: the schema's types, how a transaction takes the write lock,
// how a binary UUID reads back as hex, and what a connection sets first.
struct Dialect {
  const char* blob;
  const char* serial;
  const char* hexOf;  // applied to a UUID column: lower-case hex
  const char* beginWrite;
  const char* beginRead;
  std::vector<std::string> onOpen;   // before the schema version is read
  std::vector<std::string> onReady;  // after it was found right
};

std::string busyTimeout(int ms) { return "PRAGMA busy_timeout = " + std::to_string(ms); }

Dialect sqliteDialect(int busyTimeoutMs) {
  return {"BLOB",
          "INTEGER PRIMARY KEY",
          "lower(hex(%))",
          "BEGIN IMMEDIATE",
          "BEGIN",
          {busyTimeout(busyTimeoutMs)},
          {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL", "PRAGMA foreign_keys = OFF"}};
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::vector<std::string> schema(const Dialect& d) {
  std::vector<std::string> statements{
      "CREATE TABLE store_schema (version INTEGER NOT NULL)",
      "CREATE TABLE store_settings (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
      "CREATE TABLE objects (seq $SERIAL, uuid $BLOB NOT NULL UNIQUE, type TEXT NOT NULL, "
      "name TEXT NOT NULL, owner $BLOB, product_type $BLOB, source $BLOB, parent $BLOB, "
      "context_first $BLOB, context_second $BLOB, handler_id TEXT, data TEXT NOT NULL)",
      "CREATE INDEX objects_by_owner ON objects (owner, seq)",
      "CREATE INDEX objects_by_name ON objects (name, type)",
      "CREATE INDEX objects_by_product_type ON objects (product_type) WHERE product_type IS NOT NULL",
      "CREATE INDEX objects_by_source ON objects (source) WHERE source IS NOT NULL",
      "CREATE INDEX objects_by_parent ON objects (parent) WHERE parent IS NOT NULL",
      "CREATE INDEX objects_by_first ON objects (context_first, handler_id) WHERE context_first IS NOT NULL",
      "CREATE INDEX objects_by_second ON objects (context_second, handler_id) WHERE context_second IS NOT "
      "NULL",
      // The specifications an object lists (typedef, authorised, members): holder and listed.
      "CREATE TABLE listed (holder $BLOB NOT NULL, spec $BLOB NOT NULL)",
      "CREATE INDEX listed_by_holder ON listed (holder)",
      "CREATE INDEX listed_by_spec ON listed (spec)",
      "INSERT INTO store_schema (version) VALUES (" + std::to_string(Database::kSchemaVersion) + ")",
  };
  for (auto& s : statements) s = replaceAll(replaceAll(s, "$SERIAL", d.serial), "$BLOB", d.blob);
  return statements;
}

const char* linkColumn(Link link) {
  switch (link) {
    case Link::Owner:
      return "owner";
    case Link::ProductType:
      return "product_type";
    case Link::Source:
      return "source";
    case Link::Parent:
      return "parent";
    case Link::FirstContext:
      return "context_first";
    case Link::SecondContext:
      return "context_second";
    case Link::Context:
      break;
  }
  return "owner";
}

std::string octetsOf(const Uuid& hex) {
  std::string octets;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    octets += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return octets;
}

// What a back end's error means for the user, in a few words.
std::string explain(const std::string& what) {
  auto has = [&what](const char* text) { return what.find(text) != std::string::npos; };
  if (has("not a database")) return "not a store database (file is not a database)";
  if (has("malformed") || has("corrupt")) return "the database is corrupt (database disk image is malformed)";
  if (has("readonly") || has("read-only")) return "the database is read-only: nothing was written";
  if (has("locked") || has("busy")) return "the database is locked by another writer; run the command again";
  if (has("full")) return "the database or the disk is full: the command's changes were rolled back";
  if (has("unable to open")) return "cannot open the database";
  std::string line = what.substr(0, what.find('\n'));
  return line;
}

}  // namespace

// A value bound to a statement: a UUID (binary, null when empty) or a text (null when absent).
struct Arg {
  bool uuid;
  std::string value;
  bool null;
};
Arg uuidArg(const Uuid& uuid) { return {true, octetsOf(uuid), uuid.empty()}; }
Arg textArg(std::string text, bool null = false) { return {false, std::move(text), null}; }

struct Database::Connection {
  Dialect dialect;
  soci::session sql;
  std::string selectColumns;  // hex UUID, data

  Connection(const Dialect& d, const std::string& connect)
      : dialect(d), sql(*soci::factory_sqlite3(), connect) {
    selectColumns = replaceAll(dialect.hexOf, "%", "uuid") + ", data";
  }

  // Statements are prepared once and kept, bound to these values.
  static constexpr std::size_t kMaxArgs = 12;
  enum class Output { None, Row, Count };
  std::deque<soci::blob> blobs;
  std::array<std::string, kMaxArgs> texts;
  std::array<soci::indicator, kMaxArgs> indicators{};
  StoredObject row;
  long long counted = 0;
  std::map<std::string, std::unique_ptr<soci::statement>> prepared;

  soci::statement& statement(const std::string& q, const std::vector<Arg>& args, Output output) {
    auto& kept = prepared[q];
    if (kept) return *kept;
    while (blobs.size() < kMaxArgs) blobs.emplace_back(sql);
    auto st = std::make_unique<soci::statement>(sql);
    if (output == Output::Row) {
      st->exchange(soci::into(row.uuid));
      st->exchange(soci::into(row.text));
    }
    if (output == Output::Count) st->exchange(soci::into(counted));
    for (std::size_t i = 0; i < args.size(); ++i)
      if (args[i].uuid)
        st->exchange(soci::use(blobs[i], indicators[i]));
      else
        st->exchange(soci::use(texts[i], indicators[i]));
    st->alloc();
    st->prepare(q);
    st->define_and_bind();
    kept = std::move(st);
    return *kept;
  }

  soci::statement& bound(const std::string& q, const std::vector<Arg>& args, Output output) {
    soci::statement& st = statement(q, args, output);
    for (std::size_t i = 0; i < args.size(); ++i) {
      indicators[i] = args[i].null ? soci::i_null : soci::i_ok;
      if (!args[i].uuid) {
        texts[i] = args[i].value;
      } else {
        blobs[i].trim(0);
        if (!args[i].value.empty()) blobs[i].append(args[i].value.data(), args[i].value.size());
      }
    }
    return st;
  }

  void run(const std::string& q, const std::vector<Arg>& args) { bound(q, args, Output::None).execute(true); }

  long long count(const std::string& q, const std::vector<Arg>& args) {
    counted = 0;
    soci::statement& st = bound(q, args, Output::Count);
    st.execute(true);
    // Stepped to its end, the statement holds no read snapshot: a kept statement left on its row
    // would make the next transaction's write lock fail at once instead of waiting.
    while (st.fetch()) {
    }
    return counted;
  }

  // The objects that meet the condition, in creation order.
  std::vector<StoredObject> rows(const std::string& where, const std::vector<Arg>& args, int limit = 0) {
    std::string q = "SELECT " + selectColumns + " FROM objects WHERE " + where + " ORDER BY seq";
    if (limit > 0) q += " LIMIT " + std::to_string(limit);
    soci::statement& st = bound(q, args, Output::Row);
    std::vector<StoredObject> out;
    st.execute();
    while (st.fetch()) out.push_back(row);
    return out;
  }

  void writeRow(const Object& o, const std::string& text, bool isNew) {
    bool handler = o.is(reference::kind::ConfigHandler);
    std::vector<Arg> args{textArg(o.type),
                          textArg(o.name),
                          uuidArg(o.owner),
                          uuidArg(o.productType),
                          uuidArg(o.spec.source),
                          uuidArg(o.modification.parent),
                          uuidArg(o.handler.first),
                          uuidArg(o.handler.second),
                          textArg(handler ? o.handler.id : std::string(), !handler),
                          textArg(text),
                          uuidArg(o.uuid)};
    run(isNew ? "INSERT INTO objects (type, name, owner, product_type, source, parent, context_first, "
                "context_second, handler_id, data, uuid) VALUES (:t, :n, :o, :pt, :s, :p, :f, :c, :h, :d, :u)"
              : "UPDATE objects SET type = :t, name = :n, owner = :o, product_type = :pt, source = :s, "
                "parent = :p, context_first = :f, context_second = :c, handler_id = :h, data = :d WHERE uuid "
                "= :u",
        args);
    if (!isNew) run("DELETE FROM listed WHERE holder = :u", {uuidArg(o.uuid)});
    for (const auto* list : {&o.typedefSpecs, &o.authorisedSpecs, &o.spec.members})
      for (const auto& spec : *list)
        run("INSERT INTO listed (holder, spec) VALUES (:h, :s)", {uuidArg(o.uuid), uuidArg(spec)});
  }
};

template <class F>
auto Database::guarded(const char* doing, F work) {
  try {
    return work();
  } catch (const soci::soci_error& e) {
    failure_ = location_ + ": " + explain(e.what()) + (doing[0] ? std::string(" (") + doing + ")" : "");
    throw StoreError(failure_);
  }
}

Database::Database(std::string location, std::unique_ptr<Connection> connection, bool readOnly)
    : location_(std::move(location)), connection_(std::move(connection)), readOnly_(readOnly) {}

Database::~Database() = default;

int Database::defaultBusyTimeoutMs() {
  const char* text = std::getenv("OKS_STORE_BUSY_TIMEOUT_MS");
  return text && *text ? std::atoi(text) : 5000;
}

std::unique_ptr<Database> Database::open(const std::string& location, Mode mode, int busyTimeoutMs) {
  namespace fs = std::filesystem;
  // The dialect table is where a PostgreSQL entry goes; the location's form selects it.
  if (location.starts_with("postgresql://"))
    throw StoreError(location + ": this okshost keeps stores in SQLite files only");
  bool temporary = mode == Mode::Temporary;
  bool creating = mode != Mode::Open;
  std::error_code ec;
  if (!temporary) {
    bool there = fs::exists(location, ec);
    if (mode == Mode::Open && !there)
      throw StoreError(location + ": no such database (okshost store init makes one)");
    if (mode == Mode::Create && there) throw StoreError(location + ": the file exists (--force replaces it)");
    if (mode == Mode::Replace && there) {
      for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(location + suffix, ec);
    }
    if (mode == Mode::Open && !fs::is_regular_file(location, ec))
      throw StoreError(location + ": not a store database (not a file)");
  }
  bool readOnly = !temporary && !creating && ::access(location.c_str(), W_OK) != 0;
  Dialect dialect = sqliteDialect(busyTimeoutMs);
  std::string connect = temporary ? "db=:memory:" : "db=\"" + location + "\"";
  std::unique_ptr<Connection> connection;
  try {
    connection = std::make_unique<Connection>(dialect, connect);
  } catch (const soci::soci_error& e) {
    throw StoreError(location + ": " + explain(e.what()));
  }
  std::unique_ptr<Database> db(
      new Database(temporary ? "(temporary store)" : location, std::move(connection), readOnly));
  soci::session& sql = db->connection_->sql;
  db->guarded("", [&] {
    for (const auto& s : dialect.onOpen) sql << s;
    if (creating) {
      for (const auto& s : dialect.onReady) sql << s;
      soci::transaction t(sql);
      for (const auto& s : schema(dialect)) sql << s;
      t.commit();
      return;
    }
    // The schema version is read before anything writes, so that a file of another kind or
    // version is left as it was.
    int tables = 0;
    sql << "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'store_schema'",
        soci::into(tables);
    if (tables == 0) throw StoreError(location + ": not a store database (it has no store_schema table)");
    int version = 0;
    soci::indicator indicator = soci::i_ok;
    sql << "SELECT max(version) FROM store_schema", soci::into(version, indicator);
    if (indicator != soci::i_ok || version != kSchemaVersion)
      throw StoreError(location + ": a store database of schema version " +
                       (indicator == soci::i_ok ? std::to_string(version) : std::string("(none)")) +
                       "; this okshost reads version " + std::to_string(kSchemaVersion));
    if (!readOnly)
      for (const auto& s : dialect.onReady) sql << s;
  });
  return db;
}

void Database::execute(const std::string& statement) {
  guarded("", [&] { connection_->sql << statement; });
}

std::string Database::integrityCheck() {
  return guarded("checking", [&] {
    std::string result;
    connection_->sql << "PRAGMA integrity_check", soci::into(result);
    return result;
  });
}

void Database::begin() {
  guarded("beginning a transaction", [&] {
    connection_->sql << (readOnly_ ? connection_->dialect.beginRead : connection_->dialect.beginWrite);
  });
}

void Database::commit() {
  guarded("committing", [&] { connection_->sql << "COMMIT"; });
}

void Database::rollback() {
  try {
    connection_->sql << "ROLLBACK";
  } catch (const soci::soci_error&) {
    // No transaction was open (the error came from beginning it): nothing to undo.
  }
}

reference::StoreSettings Database::settings() {
  return guarded("reading the settings", [&] {
    reference::StoreSettings s;
    std::string name, value;
    soci::statement st = (connection_->sql.prepare << "SELECT name, value FROM store_settings",
                          soci::into(name), soci::into(value));
    st.execute();
    while (st.fetch()) {
      if (name == "dataDomain") s.dataDomain = value;
      if (name == "inWorkApproval") s.inWorkApproval = value == "1";
      if (name == "filter150") s.filter150 = value == "1";
    }
    return s;
  });
}

void Database::setSettings(const reference::StoreSettings& s) {
  guarded("writing the settings", [&] {
    soci::session& sql = connection_->sql;
    sql << "DELETE FROM store_settings";
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, std::string>>{{"dataDomain", s.dataDomain},
                                                          {"inWorkApproval", s.inWorkApproval ? "1" : "0"},
                                                          {"filter150", s.filter150 ? "1" : "0"}}) {
      std::string n = name, v = value;
      sql << "INSERT INTO store_settings (name, value) VALUES (:n, :v)", soci::use(n), soci::use(v);
    }
  });
}

std::string Database::encode(const Object& object) { return storeObject(object).dump(); }

Object Database::decode(const StoredObject& stored) {
  try {
    return readStoreObject(Json::parse(stored.text), "object " + stored.uuid);
  } catch (const std::exception& e) {
    throw StoreError(location_ + ": the database is corrupt (" + e.what() + ")");
  }
}

std::optional<StoredObject> Database::byUuid(const Uuid& uuid) {
  auto found = guarded("reading", [&] { return connection_->rows("uuid = :u", {uuidArg(uuid)}); });
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

std::vector<StoredObject> Database::byName(const std::string& name, const std::string& type, int limit) {
  return guarded("reading", [&] {
    if (type.empty()) return connection_->rows("name = :n", {textArg(name)}, limit);
    return connection_->rows("name = :n AND type = :t", {textArg(name), textArg(type)}, limit);
  });
}

std::vector<StoredObject> Database::linkedTo(Link link, const Uuid& uuid, const char* type) {
  return guarded("reading", [&] {
    if (uuid.empty()) return connection_->rows(std::string(linkColumn(link)) + " IS NULL", {});
    std::string where = link == Link::Context ? "(context_first = :u OR context_second = :u)"
                                              : std::string(linkColumn(link)) + " = :u";
    if (!type) return connection_->rows(where, {uuidArg(uuid)});
    return connection_->rows(where + " AND type = :t", {uuidArg(uuid), textArg(type)});
  });
}

std::vector<StoredObject> Database::listing(const Uuid& uuid) {
  return guarded("reading", [&] {
    return connection_->rows("uuid IN (SELECT holder FROM listed WHERE spec = :u)", {uuidArg(uuid)});
  });
}

std::int64_t Database::countOwnedBy(const Uuid& owner) {
  return guarded("reading", [&] {
    return static_cast<std::int64_t>(
        connection_->count("SELECT count(*) FROM objects WHERE owner = :o", {uuidArg(owner)}));
  });
}

bool Database::exists(const Uuid& uuid) {
  return guarded("reading", [&] {
    return connection_->count("SELECT count(*) FROM objects WHERE uuid = :u", {uuidArg(uuid)}) > 0;
  });
}

void Database::insert(const Object& object, const std::string& text) {
  guarded("writing", [&] { connection_->writeRow(object, text, true); });
}

void Database::update(const Object& object, const std::string& text) {
  guarded("writing", [&] { connection_->writeRow(object, text, false); });
}

void Database::erase(const Uuid& uuid) {
  guarded("writing", [&] {
    connection_->run("DELETE FROM listed WHERE holder = :u", {uuidArg(uuid)});
    connection_->run("DELETE FROM objects WHERE uuid = :u", {uuidArg(uuid)});
  });
}

void Database::forEach(const std::function<void(const StoredObject&)>& each) {
  guarded("reading", [&] {
    StoredObject row;
    soci::statement st =
        (connection_->sql.prepare << "SELECT " + connection_->selectColumns + " FROM objects ORDER BY seq",
         soci::into(row.uuid), soci::into(row.text));
    st.execute();
    while (st.fetch()) each(row);
  });
}

}  // namespace oks::host
