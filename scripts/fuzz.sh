#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/, and runs each for a bounded time (default 60 s) from seeds taken from the
# cases, the examples and the store files. Fails on any crash, leak or sanitizer report; the
# input that found it is left in build-fuzz/artifacts/ (keep it in fuzz/regressions/TARGET/).
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/install-deps.sh" --fuzz
dir="$root/build-fuzz"
targets=(case_reader store_loader script_reader param_parser)
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOKS_FUZZ=ON \
  -DOKS_SANITIZE=ON -DOKS_BUILD_TESTS=OFF -DOKS_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# Seeds: what each reader reads in the tree, and the inputs that once found faults.
seeds="$dir/seeds"
rm -rf "$seeds"
mkdir -p "${targets[@]/#/$seeds/}"
seed() {  # seed TARGET FILE...: copies under numbered names (files of one name live in several folders)
  local target=$1 n=0
  shift
  for file in "$@"; do cp "$file" "$seeds/$target/$((n++)).json"; done
}
mapfile -t cases < <(find "$root/tests/cases" "$root/examples/cases" -name '*.json')
mapfile -t stores < <(find "$root/examples" "$root/tests" -name '*store*.json')
seed case_reader "${cases[@]}"
seed store_loader "${stores[@]}"
seed script_reader "$root/examples/configure-product.json"
python3 - "$root/tests/cases" "$seeds/param_parser" <<'PY'
import json, pathlib, sys
seen = set()
for path in sorted(pathlib.Path(sys.argv[1]).rglob("*.json")):
    for case in [json.loads(path.read_text())]:
        for group in [case] + case.get("cases", []):
            for key, value in (group.get("params") or {}).items():
                text = key + "=" + json.dumps(value)
                if value is not None and text not in seen and len(seen) < 400:
                    seen.add(text)
                    (pathlib.Path(sys.argv[2]) / f"{len(seen)}.txt").write_text(text)
PY

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts"
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzzing $target for $seconds s"
  "$dir/bin/fuzz_$target" "$corpus" "$seeds/$target" "$root/fuzz/regressions/$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/$target-" 2>"$dir/$target.log" || {
    tail -60 "$dir/$target.log"
    echo "fuzz: $target failed; the input is in $dir/artifacts/" >&2
    exit 1
  }
  grep -E '^stat::(number_of_executed_units|new_units_added)' "$dir/$target.log" || true
done
