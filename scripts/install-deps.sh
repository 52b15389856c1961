#!/usr/bin/env bash
# Installs what the build needs and is missing (Debian packages), with the PostgreSQL server that
# the tests start a throw-away cluster of (scripts/pg-cluster.sh).
set -euo pipefail
packages=(cmake g++ make binutils libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev clang-format pkgconf libsoci-dev libsqlite3-dev libpq-dev postgresql ccache)
# --fuzz: also clang and libFuzzer, for scripts/fuzz.sh.
if [ "${1:-}" = "--fuzz" ]; then packages+=(clang-14 libclang-rt-14-dev python3); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
