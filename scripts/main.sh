#!/usr/bin/env bash
# The main job: install what is missing, build, make a fresh store database from the example store
# file, run the example script against it (each step one transaction, kept), then show the product
# tree and the effectivity of the specification the script made. The database stays for the user.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# Its own folder, so that the test command's build (build/, tests on) never reuses this one's cache.
"$root/scripts/build.sh" "$root/build-main" -DOKS_BUILD_TESTS=OFF -DOKS_BUILD_BENCH=OFF
okshost="$root/build-main/bin/okshost"
db="$root/build-main/configured-product.db"
"$okshost" store init "$db" --force --from "$root/examples/store.json"
"$okshost" script "$root/examples/configure-product.json" --store "$db"
echo
echo "The product tree of Bike:"
"$okshost" store tree "$db" PRC:Bike
echo
echo "The effectivity of the specification the script made:"
"$okshost" store effectivity "$db" "PS:City Touring"
echo
echo "Continue with: build-main/bin/okshost exec LATE_TYPE --store $db --param KEY=JSON ... (okshost store tree $db shows it)"
