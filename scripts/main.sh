#!/usr/bin/env bash
# The main job: install what is missing, build, and run the example script: okshost drives the
# commands against the in-memory reference service, each step using what earlier ones made.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# Its own folder, so that the test command's build (build/, tests on) never reuses this one's cache.
"$root/scripts/build.sh" "$root/build-main" -DOKS_BUILD_TESTS=OFF -DOKS_BUILD_BENCH=OFF
# Configure a product against the reference service, starting from the bundled store.
"$root/build-main/bin/okshost" script "$root/examples/configure-product.json"
