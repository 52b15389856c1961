#!/usr/bin/env bash
# The main job: install what is missing, build, and run okshost (the commands it offers and the
# example cases).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DOKS_BUILD_TESTS=OFF -DOKS_BUILD_BENCH=OFF
"$root/build/bin/okshost" list
if "$root/build/bin/okshost" --help 2>/dev/null | grep -q ' case'; then
  "$root/build/bin/okshost" case "$root/examples"
fi
