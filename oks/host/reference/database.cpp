// SOCI's configuration header asks for Boost when SOCI was built with it; nothing here uses
// SOCI's Boost conversions, so they stay off.
#include <soci/soci-config.h>
#undef SOCI_HAVE_BOOST
#undef SOCI_HAVE_BOOST_DATE_TIME
#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
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

// What differs between back ends: the connection, the schema's types, how a UUID is bound and
// read back, how a transaction begins, how the store's presence is checked, what a check of the
// database runs, and what a connection sets first.
struct Dialect {
  const soci::backend_factory* factory;
  const char* blob;
  const char* serial;
  const char* hexOf;      // applied to a UUID column: lower-case hex
  const char* uuidParam;  // applied to a UUID parameter: the column's type
  bool bindsOctets;       // a UUID parameter is bound as its octets (else as its hex)
  const char* hasStore;   // how many store_schema tables the database has
  const char* integrity;  // "ok", or what is wrong
  const char* beginWrite;
  const char* beginRead;
  std::vector<std::string> onOpen;     // before the schema version is read
  std::vector<std::string> onReady;    // after it was found right
  std::vector<std::string> dropStore;  // before a store replaces the one in a server database
};

std::string busyTimeout(int ms) { return "PRAGMA busy_timeout = " + std::to_string(ms); }

Dialect sqliteDialect(int busyTimeoutMs) {
  return {soci::factory_sqlite3(),
          "BLOB",
          "INTEGER PRIMARY KEY",
          "lower(hex(%))",
          "%",
          true,
          "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'store_schema'",
          "PRAGMA integrity_check",
          "BEGIN IMMEDIATE",
          "BEGIN",
          {busyTimeout(busyTimeoutMs)},
          {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL", "PRAGMA foreign_keys = OFF"},
          {}};
}

// Every transaction is SERIALIZABLE: the operations read, decide and write (a name free under an
// owner, then the new object), which row locks cannot guard against a concurrent insertion.
Dialect postgresqlDialect(int busyTimeoutMs) {
  return {
      soci::factory_postgresql(),
      "BYTEA",
      "BIGSERIAL PRIMARY KEY",
      "encode(%, 'hex')",
      "decode(%, 'hex')",
      false,
      "SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = current_schema() AND tablename = "
      "'store_schema'",
      "SELECT CASE WHEN (SELECT count(*) FROM store_schema) <> 1 THEN 'store_schema holds "
      "' || (SELECT count(*) FROM store_schema) || ' versions' WHEN EXISTS (SELECT 1 FROM listed WHERE NOT "
      "EXISTS (SELECT 1 FROM objects WHERE objects.uuid = listed.holder)) THEN 'a listed specification of "
      "an object that is not there' ELSE 'ok' END",
      "BEGIN ISOLATION LEVEL SERIALIZABLE",
      "BEGIN ISOLATION LEVEL SERIALIZABLE",
      {"SET client_min_messages = error", "SET lock_timeout = " + std::to_string(busyTimeoutMs)},
      {},
      {"DROP TABLE IF EXISTS listed, objects, store_settings, store_schema"}};
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// A statement in the dialect: each UUID parameter, written @name, becomes the dialect's form of
// :name.
std::string uuidParams(const std::string& q, const Dialect& d) {
  std::string out;
  for (std::size_t i = 0; i < q.size(); ++i) {
    if (q[i] != '@') {
      out += q[i];
      continue;
    }
    std::size_t end = i + 1;
    while (end < q.size() && (std::isalnum(static_cast<unsigned char>(q[end])) || q[end] == '_')) ++end;
    out += replaceAll(d.uuidParam, "%", ":" + q.substr(i + 1, end - i - 1));
    i = end - 1;
  }
  return out;
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

// The server's own words in a client library's error: the line after its severity, else after
// the connection's "failed:", else the first line.
std::string serverWords(const std::string& what) {
  for (const char* mark : {"FATAL:  ", "ERROR:  ", "failed: "})
    if (auto at = what.find(mark); at != std::string::npos) {
      std::string rest = what.substr(at + std::strlen(mark));
      return rest.substr(0, rest.find('\n'));
    }
  return what.substr(0, what.find('\n'));
}

// The SQLSTATE of a PostgreSQL error, empty for another error.
std::string sqlstateOf(const soci::soci_error& e) {
  auto* server = dynamic_cast<const soci::postgresql_soci_error*>(&e);
  return server ? server->sqlstate() : std::string();
}

// A serialization failure or a deadlock: the server gave the transaction up for a concurrent one.
bool retryable(const std::string& sqlstate) { return sqlstate == "40001" || sqlstate == "40P01"; }

// What a back end's error means for the user, in a few words.
std::string explain(const soci::soci_error& e, bool server) {
  std::string what = e.what();
  auto has = [&what](const char* text) { return what.find(text) != std::string::npos; };
  if (server) {
    std::string state = sqlstateOf(e), words = serverWords(what);
    auto of = [&state](const char* cls) { return state.starts_with(cls); };
    if (retryable(state)) return "the transaction met a concurrent one (" + words + ")";
    if (of("28") || has("authentication failed")) return "the server refused the credentials (" + words + ")";
    if (state == "3D000" || (has("database \"") && has("does not exist")))
      return "no such database on the server (" + words + "); okshost store init needs one made by createdb";
    if (state == "55P03")
      return "the store is locked by another writer; run the command again (" + words + ")";
    if (state == "42501") return "the server refuses this user the store (" + words + ")";
    if (state == "25006") return "the database is read-only: nothing was written (" + words + ")";
    if (state == "53100") return "the server's disk is full: the command's changes were rolled back";
    if (of("08") || has("Cannot establish connection") || has("connection to server"))
      return "cannot reach the server (" + words + ")";
    return words;
  }
  if (has("not a database")) return "not a store database (file is not a database)";
  if (has("malformed") || has("corrupt")) return "the database is corrupt (database disk image is malformed)";
  if (has("readonly") || has("read-only")) return "the database is read-only: nothing was written";
  if (has("locked") || has("busy")) return "the database is locked by another writer; run the command again";
  if (has("full")) return "the database or the disk is full: the command's changes were rolled back";
  if (has("unable to open")) return "cannot open the database";
  return what.substr(0, what.find('\n'));
}

// A server location as messages show it: without a password, in the URI's user part or its
// parameters.
std::string withoutPassword(const std::string& uri) {
  std::string shown = uri;
  auto scheme = shown.find("://");
  std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  std::size_t authorityEnd = shown.find_first_of("/?", start);
  std::string authority =
      shown.substr(start, authorityEnd == std::string::npos ? std::string::npos : authorityEnd - start);
  if (auto at = authority.rfind('@'); at != std::string::npos)
    if (auto colon = authority.find(':'); colon < at) shown.erase(start + colon, at - colon);
  for (auto p = shown.find("password="); p != std::string::npos; p = shown.find("password=", p)) {
    auto end = shown.find('&', p);
    shown.replace(p, end == std::string::npos ? std::string::npos : end - p, "password=(hidden)");
    p += 17;
  }
  return shown;
}

// A libpq URI as keyword=value pairs, the form SOCI passes on whole (it would take a URI apart
// as if it were such pairs). A URI libpq cannot read is passed as it is, for libpq to refuse.
std::string connectionPairs(const std::string& uri) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
  if (!options) {
    PQfreemem(error);
    return uri;
  }
  std::string pairs;
  for (PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val) continue;
    std::string value;
    for (const char* c = o->val; *c; ++c)
      value += *c == '\'' || *c == '\\' ? std::string("\\") + *c : std::string(1, *c);
    pairs += std::string(pairs.empty() ? "" : " ") + o->keyword + "='" + value + "'";
  }
  PQconninfoFree(options);
  return pairs;
}

}  // namespace

// A value bound to a statement: a UUID (its hex, null when empty) or a text (null when absent).
struct Arg {
  bool uuid;
  std::string value;
  bool null;
};
Arg uuidArg(const Uuid& uuid) { return {true, uuid, uuid.empty()}; }
Arg textArg(std::string text, bool null = false) { return {false, std::move(text), null}; }

struct Database::Connection {
  Dialect dialect;
  soci::session sql;
  std::string selectColumns;  // hex UUID, data

  Connection(const Dialect& d, const std::string& connect) : dialect(d), sql(*dialect.factory, connect) {
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

  // A statement written with @name for each UUID parameter, prepared in the dialect.
  soci::statement& statement(const std::string& q, const std::vector<Arg>& args, Output output) {
    auto& kept = prepared[q];
    if (kept) return *kept;
    if (dialect.bindsOctets)
      while (blobs.size() < kMaxArgs) blobs.emplace_back(sql);
    auto st = std::make_unique<soci::statement>(sql);
    if (output == Output::Row) {
      st->exchange(soci::into(row.uuid));
      st->exchange(soci::into(row.text));
    }
    if (output == Output::Count) st->exchange(soci::into(counted));
    for (std::size_t i = 0; i < args.size(); ++i)
      if (args[i].uuid && dialect.bindsOctets)
        st->exchange(soci::use(blobs[i], indicators[i]));
      else
        st->exchange(soci::use(texts[i], indicators[i]));
    st->alloc();
    st->prepare(uuidParams(q, dialect));
    st->define_and_bind();
    kept = std::move(st);
    return *kept;
  }

  soci::statement& bound(const std::string& q, const std::vector<Arg>& args, Output output) {
    soci::statement& st = statement(q, args, output);
    for (std::size_t i = 0; i < args.size(); ++i) {
      indicators[i] = args[i].null ? soci::i_null : soci::i_ok;
      if (!args[i].uuid || !dialect.bindsOctets) {
        texts[i] = args[i].value;
      } else {
        blobs[i].trim(0);
        if (!args[i].value.empty()) {
          std::string octets = octetsOf(args[i].value);
          blobs[i].append(octets.data(), octets.size());
        }
      }
    }
    return st;
  }

  // Runs a kept statement. One whose run failed is dropped: the back end fills a statement's
  // parameter buffers anew on each run and frees them when the run ends, so a run that threw
  // (a transaction the server gave up) would leave them to leak on the next.
  template <class F>
  auto running(const std::string& q, F work) {
    try {
      return work();
    } catch (...) {
      prepared.erase(q);
      throw;
    }
  }

  void run(const std::string& q, const std::vector<Arg>& args) {
    running(q, [&] { bound(q, args, Output::None).execute(true); });
  }

  long long count(const std::string& q, const std::vector<Arg>& args) {
    return running(q, [&] {
      counted = 0;
      soci::statement& st = bound(q, args, Output::Count);
      st.execute(true);
      // Stepped to its end, the statement holds no read snapshot: a kept statement left on its row
      // would make the next transaction's write lock fail at once instead of waiting.
      while (st.fetch()) {
      }
      return counted;
    });
  }

  // The objects that meet the condition, in creation order.
  std::vector<StoredObject> rows(const std::string& where, const std::vector<Arg>& args, int limit = 0) {
    std::string q = "SELECT " + selectColumns + " FROM objects WHERE " + where + " ORDER BY seq";
    if (limit > 0) q += " LIMIT " + std::to_string(limit);
    return running(q, [&] {
      soci::statement& st = bound(q, args, Output::Row);
      std::vector<StoredObject> out;
      st.execute();
      while (st.fetch()) out.push_back(row);
      return out;
    });
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
                "context_second, handler_id, data, uuid) VALUES (:t, :n, @o, @pt, @s, @p, @f, @c, :h, :d, @u)"
              : "UPDATE objects SET type = :t, name = :n, owner = @o, product_type = @pt, source = @s, "
                "parent = @p, context_first = @f, context_second = @c, handler_id = :h, data = :d WHERE uuid "
                "= @u",
        args);
    if (!isNew) run("DELETE FROM listed WHERE holder = @u", {uuidArg(o.uuid)});
    for (const auto* list : {&o.typedefSpecs, &o.authorisedSpecs, &o.spec.members})
      for (const auto& spec : *list)
        run("INSERT INTO listed (holder, spec) VALUES (@h, @s)", {uuidArg(o.uuid), uuidArg(spec)});
  }
};

template <class F>
auto Database::guarded(const char* doing, F work) {
  try {
    return work();
  } catch (const soci::soci_error& e) {
    StoreError error(location_ + ": " + explain(e, onServer(location_)) +
                         (doing[0] ? std::string(" (") + doing + ")" : ""),
                     retryable(sqlstateOf(e)));
    if (!failure_) failure_ = error;
    throw error;
  }
}

Database::Database(std::string location, std::string path, std::unique_ptr<Connection> connection,
                   bool readOnly)
    : location_(std::move(location)),
      path_(std::move(path)),
      connection_(std::move(connection)),
      readOnly_(readOnly) {}

Database::~Database() = default;

int Database::defaultBusyTimeoutMs() {
  const char* text = std::getenv("OKS_STORE_BUSY_TIMEOUT_MS");
  return text && *text ? std::atoi(text) : 5000;
}

bool Database::onServer(const std::string& location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::unique_ptr<Database> Database::open(const std::string& location, Mode mode, int busyTimeoutMs) {
  namespace fs = std::filesystem;
  bool temporary = mode == Mode::Temporary;
  bool server = !temporary && onServer(location);
  bool creating = mode != Mode::Open;
  std::string shown = temporary ? "(temporary store)" : server ? withoutPassword(location) : location;
  std::error_code ec;
  if (!temporary && !server) {
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
  bool readOnly = !temporary && !server && !creating && ::access(location.c_str(), W_OK) != 0;
  Dialect dialect = server ? postgresqlDialect(busyTimeoutMs) : sqliteDialect(busyTimeoutMs);
  std::string connect = server      ? connectionPairs(location)
                        : temporary ? "db=:memory:"
                                    : "db=\"" + location + "\"";
  std::unique_ptr<Connection> connection;
  try {
    connection = std::make_unique<Connection>(dialect, connect);
  } catch (const soci::soci_error& e) {
    throw StoreError(shown + ": " + explain(e, server));
  }
  std::unique_ptr<Database> db(
      new Database(shown, temporary || server ? std::string() : location, std::move(connection), readOnly));
  soci::session& sql = db->connection_->sql;
  db->guarded("", [&] {
    for (const auto& s : dialect.onOpen) sql << s;
    int stores = 0;
    if (!creating || server) sql << dialect.hasStore, soci::into(stores);
    if (creating) {
      if (stores > 0 && mode == Mode::Create)
        throw StoreError(shown + ": the database already holds a store (--force replaces it)");
      for (const auto& s : dialect.onReady) sql << s;
      soci::transaction t(sql);
      for (const auto& s : dialect.dropStore) sql << s;
      for (const auto& s : schema(dialect)) sql << s;
      t.commit();
      return;
    }
    // The schema version is read before anything writes, so that a database of another kind or
    // version is left as it was.
    if (stores == 0) throw StoreError(shown + ": not a store database (it has no store_schema table)");
    int version = 0;
    soci::indicator indicator = soci::i_ok;
    sql << "SELECT max(version) FROM store_schema", soci::into(version, indicator);
    if (indicator != soci::i_ok || version != kSchemaVersion)
      throw StoreError(shown + ": a store database of schema version " +
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
    connection_->sql << connection_->dialect.integrity, soci::into(result);
    return result;
  });
}

void Database::discard() {
  rollback();
  if (onServer(location_)) {
    guarded("removing the store", [&] {
      soci::transaction t(connection_->sql);
      for (const auto& s : connection_->dialect.dropStore) connection_->sql << s;
      t.commit();
    });
  }
  connection_.reset();
  std::error_code ec;
  if (!path_.empty())
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix, ec);
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
  auto found = guarded("reading", [&] { return connection_->rows("uuid = @u", {uuidArg(uuid)}); });
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
    // Each placeholder is bound on its own (PostgreSQL numbers every occurrence).
    std::vector<Arg> args{uuidArg(uuid)};
    std::string where = std::string(linkColumn(link)) + " = @u";
    if (link == Link::Context) {
      where = "(context_first = @u OR context_second = @v)";
      args.push_back(uuidArg(uuid));
    }
    if (type) {
      where += " AND type = :t";
      args.push_back(textArg(type));
    }
    return connection_->rows(where, args);
  });
}

std::vector<StoredObject> Database::listing(const Uuid& uuid) {
  return guarded("reading", [&] {
    return connection_->rows("uuid IN (SELECT holder FROM listed WHERE spec = @u)", {uuidArg(uuid)});
  });
}

std::int64_t Database::countOwnedBy(const Uuid& owner) {
  return guarded("reading", [&] {
    return static_cast<std::int64_t>(
        connection_->count("SELECT count(*) FROM objects WHERE owner = @o", {uuidArg(owner)}));
  });
}

bool Database::exists(const Uuid& uuid) {
  return guarded("reading", [&] {
    return connection_->count("SELECT count(*) FROM objects WHERE uuid = @u", {uuidArg(uuid)}) > 0;
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
    connection_->run("DELETE FROM listed WHERE holder = @u", {uuidArg(uuid)});
    connection_->run("DELETE FROM objects WHERE uuid = @u", {uuidArg(uuid)});
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
