// The PostgreSQL server of the tests: a fresh empty database for each test that needs one.
//
// The server is named by $OKS_TEST_POSTGRESQL (a libpq URI of a superuser), else by the file that
// $OKS_TEST_POSTGRESQL_URI_FILE names, which the CTest fixture "postgresql"
// (scripts/pg-cluster.sh) writes. When neither is there the test fails with a message saying so:
// a PostgreSQL test is never skipped.
#pragma once

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace oks::test {

// The superuser URI of the tests' server; throws (the test fails) when none is configured.
inline std::string postgresqlServerUri() {
  if (const char* uri = std::getenv("OKS_TEST_POSTGRESQL"); uri && *uri) return uri;
  const char* file = std::getenv("OKS_TEST_POSTGRESQL_URI_FILE");
  std::string uri;
  if (file && *file) std::getline(std::ifstream(file), uri);
  if (uri.empty())
    throw std::runtime_error(
        "no PostgreSQL server for this test: set OKS_TEST_POSTGRESQL to a superuser's libpq URI, or run it "
        "through ctest, whose fixture \"postgresql\" (scripts/pg-cluster.sh) writes the file "
        "$OKS_TEST_POSTGRESQL_URI_FILE (did the test postgresql-start fail? see its output)");
  return uri;
}

// `uri` naming the database `name` instead: the path after the host is replaced, the query kept.
inline std::string withDatabase(const std::string& uri, const std::string& name) {
  auto scheme = uri.find("://");
  if (scheme == std::string::npos) throw std::runtime_error("not a PostgreSQL URI: " + uri);
  auto hostEnd = uri.find_first_of("/?", scheme + 3);
  if (hostEnd == std::string::npos) return uri + "/" + name;
  auto query = uri.find('?', hostEnd);
  return uri.substr(0, hostEnd) + "/" + name + (query == std::string::npos ? "" : uri.substr(query));
}

// Runs one statement on the server and answers the first value it gives (empty when none);
// throws with the server's message.
inline std::string postgresqlQuery(const std::string& uri, const std::string& sql) {
  std::unique_ptr<PGconn, void (*)(PGconn*)> connection(PQconnectdb(uri.c_str()), PQfinish);
  if (PQstatus(connection.get()) != CONNECTION_OK)
    throw std::runtime_error("cannot reach the tests' PostgreSQL server at " + uri + ": " +
                             PQerrorMessage(connection.get()));
  std::unique_ptr<PGresult, void (*)(PGresult*)> result(PQexec(connection.get(), sql.c_str()), PQclear);
  if (PQresultStatus(result.get()) != PGRES_COMMAND_OK && PQresultStatus(result.get()) != PGRES_TUPLES_OK)
    throw std::runtime_error(sql + ": " + PQerrorMessage(connection.get()));
  return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
}

// A fresh, empty database on the tests' server, dropped (with any connection left to it) when
// this goes. Its name is oks_t_<pid>_<n>, unique among the processes of a test run.
class PostgreSQLDatabase {
 public:
  PostgreSQLDatabase() : server_(postgresqlServerUri()) {
    static std::atomic<int> counter{0};
    name_ = "oks_t_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    postgresqlQuery(server_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    postgresqlQuery(server_, "CREATE DATABASE " + name_);
    uri_ = withDatabase(server_, name_);
  }
  ~PostgreSQLDatabase() {
    try {
      postgresqlQuery(server_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
      // The server went first (the fixture stopped it): the database went with it.
    }
  }
  PostgreSQLDatabase(const PostgreSQLDatabase&) = delete;
  PostgreSQLDatabase& operator=(const PostgreSQLDatabase&) = delete;

  const std::string& uri() const { return uri_; }
  // This database's URI as another role, e.g. oks_password (password "right-password", checked
  // by scram-sha-256), which the test cluster has for the wrong-credentials cases.
  std::string uriAs(const std::string& user, const std::string& password) const {
    auto host = uri_.find("://") + 3;
    auto at = uri_.find('@', host);
    auto start = at != std::string::npos && at < uri_.find('/', host) ? at + 1 : host;
    return uri_.substr(0, host) + user + ":" + password + "@" + uri_.substr(start);
  }

 private:
  std::string server_, name_, uri_;
};

}  // namespace oks::test
