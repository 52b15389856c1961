#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests and JSON cases).
# With --sanitize: the same under AddressSanitizer and UndefinedBehaviorSanitizer.
# With --thread: the concurrency tests under ThreadSanitizer.
# Tests are always configured on, whatever an earlier configure cached, and ctest fails when it
# finds no test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
if [ "${1:-}" = "--sanitize" ]; then
  dir="$root/build-asan"
  "$root/scripts/build.sh" "$dir" -DOKS_SANITIZE=ON -DOKS_BUILD_TESTS=ON -DOKS_BUILD_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # The allocation sweep within about three minutes: no case begun after 150 s.
  export OKS_ALLOC_SWEEP_SECONDS=${OKS_ALLOC_SWEEP_SECONDS:-150}
elif [ "${1:-}" = "--thread" ]; then
  dir="$root/build-tsan"
  OKS_BUILD_TARGETS="oks_unit_tests MIROCfgServImpl" \
    "$root/scripts/build.sh" "$dir" -DOKS_SANITIZE=thread -DOKS_BUILD_TESTS=ON -DOKS_BUILD_BENCH=OFF
  export TSAN_OPTIONS=halt_on_error=1
  ctest --test-dir "$dir" --no-tests=error --output-on-failure -R '^(ConcurrencyTest|TraceSinks|LateTypes)\.'
  exit
else
  dir="$root/build"
  "$root/scripts/build.sh" "$dir" -DOKS_BUILD_TESTS=ON
fi
ctest --test-dir "$dir" --no-tests=error --output-on-failure -j"$(nproc)"
