#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests and the benchmark.
#
#   scripts/pg-cluster.sh start DIR   initdb into a fresh folder under /tmp, start the server on
#                                     127.0.0.1 on a free port, write the superuser's libpq URI of
#                                     the database "postgres" into DIR/uri (one line)
#   scripts/pg-cluster.sh stop DIR    stop it (fast) and remove its folder; nothing to stop is fine
#
# start --durable: the server syncs every commit to disk as a production server does (for the
# benchmark); without it the throw-away cluster of the tests skips syncing.
#
# Installs nothing (scripts/install-deps.sh does): it fails with a message and a non-zero exit when
# the server's programs are missing or the server does not start. The server runs as an
# unprivileged user: as "nobody" when this runs as root. Its data and socket folder is a fresh
# folder under /tmp owned by that user (a build folder under /root is not reachable for "nobody").
# Roles: "postgres", the superuser, trusted on local connections; "oks_password" with the password
# "right-password", which must authenticate by scram-sha-256 (the wrong-credentials tests).
set -euo pipefail

die() {
  echo "pg-cluster: $*" >&2
  exit 1
}

durable=""
if [ "${3:-}" = --durable ] && [ "${1:-}" = start ]; then
  durable=yes
  set -- "$1" "$2"
fi
[ $# -eq 2 ] && { [ "$1" = start ] || [ "$1" = stop ]; } || die "usage: $0 start DIR [--durable] | stop DIR"
action=$1
dir=$2

# The server's programs: Debian's newest version, else what pg_config names.
find_bindir() {
  local candidate
  for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r) \
    "$(pg_config --bindir 2>/dev/null || true)"; do
    if [ -x "$candidate/initdb" ] && [ -x "$candidate/pg_ctl" ] && [ -x "$candidate/postgres" ]; then
      echo "$candidate"
      return
    fi
  done
  return 1
}

# Runs a command as the cluster's owner, in its folder (the caller's folder may be unreachable).
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    (cd "$data" && setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@")
  else
    (cd "$data" && "$@")
  fi
}

stop_cluster() {
  [ -f "$dir/data" ] || return 0
  data=$(cat "$dir/data")
  if [ -d "$data" ]; then
    if [ -f "$data/cluster/postmaster.pid" ] && [ -f "$dir/bindir" ]; then
      as_owner "$(cat "$dir/bindir")/pg_ctl" -D "$data/cluster" -m fast -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$data"
  fi
  rm -f "$dir/data" "$dir/bindir" "$dir/uri"
}

if [ "$action" = stop ]; then
  stop_cluster
  exit 0
fi

bindir=$(find_bindir) ||
  die "no PostgreSQL server programs (initdb, pg_ctl, postgres) in /usr/lib/postgresql/*/bin or pg_config --bindir; install them with scripts/install-deps.sh"
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
stop_cluster # a cluster left by an earlier run that never stopped

data=$(mktemp -d /tmp/oks-postgresql.XXXXXX)
echo "$data" >"$dir/data"
echo "$bindir" >"$dir/bindir"
[ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$data"
chmod 700 "$data"

fail() {
  [ -f "$data/server.log" ] && tail -n 20 "$data/server.log" >&2
  stop_cluster
  die "$*"
}

as_owner "$bindir/initdb" -D "$data/cluster" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
  >"$data/initdb.log" 2>&1 || {
  cat "$data/initdb.log" >&2
  fail "initdb failed"
}
# First match wins: the password role's lines come before the trusting ones.
cat >"$data/cluster/pg_hba.conf" <<'EOF'
local all oks_password               scram-sha-256
host  all oks_password 127.0.0.1/32  scram-sha-256
local all all                        trust
host  all all          127.0.0.1/32  trust
EOF

# A free port: one nothing answers on, tried until the server binds one (another program may take
# a port between the look and the start).
port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
started=""
for attempt in 1 2 3 4 5 6 7 8; do
  port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
  port_in_use "$port" && continue
  cat >"$data/cluster/postgresql.auto.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$data'
password_encryption = 'scram-sha-256'
max_connections = 100
EOF
  [ -n "$durable" ] || printf 'fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n' \
    >>"$data/cluster/postgresql.auto.conf"
  if as_owner "$bindir/pg_ctl" -D "$data/cluster" -l "$data/server.log" -w -t 60 start >/dev/null 2>&1; then
    started=yes
    break
  fi
  grep -q "could not bind\|Address already in use" "$data/server.log" 2>/dev/null ||
    fail "the PostgreSQL server did not start (log above: $data/server.log)"
done
[ -n "$started" ] || fail "the PostgreSQL server found no free port on 127.0.0.1"

uri="postgresql://postgres@127.0.0.1:$port/postgres"
"$bindir/psql" -X -q -v ON_ERROR_STOP=1 "$uri" \
  -c "CREATE ROLE oks_password LOGIN CREATEDB PASSWORD 'right-password'" >/dev/null ||
  fail "could not make the role oks_password"
echo "$uri" >"$dir/uri"
echo "pg-cluster: PostgreSQL $("$bindir/postgres" --version | awk '{print $3}') at $uri (data in $data)"
