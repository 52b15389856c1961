#!/usr/bin/env bash
# Commands per second with 1, 4 and 8 concurrent clients on SQLite and on PostgreSQL, in one
# table: starts a throw-away PostgreSQL server that syncs every commit (as SQLite does with
# synchronous=FULL), runs oks_client_bench against both, and stops the server, also on failure.
#
#   bash bench/concurrent-clients.sh [BUILD_DIR] [SECONDS]   (default: build, 5 s a row)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cluster=$(mktemp -d /tmp/oks-client-bench.XXXXXX)
trap 'bash "$root/scripts/pg-cluster.sh" stop "$cluster"; rm -rf "$cluster"' EXIT
bash "$root/scripts/pg-cluster.sh" start "$cluster" --durable >/dev/null
"$build/bin/oks_client_bench" --seconds "${2:-5}" --postgresql "$(cat "$cluster/uri")"
