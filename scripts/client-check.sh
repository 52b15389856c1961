#!/usr/bin/env bash
# Builds the package (Release unless BUILD_DIR is an existing build), installs it into a
# temporary prefix, and builds and runs examples/client against it: with the compiler's default
# C++ standard, with -DCMAKE_CXX_STANDARD=17, and by hand through oks.pc.
#   scripts/client-check.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DOKS_BUILD_TESTS=OFF -DOKS_BUILD_BENCH=OFF
else
  cmake --build "$build" -j"$(nproc)"
fi
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

expect_text='PT [2024-01-01 ..]'
run_client() {
  local out
  out=$("$@")
  echo "$out"
  grep -qF "$expect_text" <<<"$out" || { echo "client-check: $1 printed no applicability text" >&2; exit 1; }
}
for standard in default 17; do
  dir="$work/client-$standard"
  options=()
  [ "$standard" = default ] || options=(-DCMAKE_CXX_STANDARD="$standard")
  cmake -S "$root/examples/client" -B "$dir" -DCMAKE_PREFIX_PATH="$prefix" "${options[@]}" >/dev/null
  cmake --build "$dir" >/dev/null
  echo "client, C++ standard $standard:"
  run_client "$dir/oks_client"
done

pc=$(find "$prefix" -name oks.pc)
libdir=$(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --variable=libdir oks)
# shellcheck disable=SC2046
g++ "$root/examples/client/main.cpp" -o "$work/oks_client_pc" \
  $(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --cflags --libs oks) -Wl,-rpath,"$libdir"
echo "client, through oks.pc:"
run_client "$work/oks_client_pc"
echo "client-check: the installed package builds and runs its client"
