#!/usr/bin/env bash
# Instructions per operation of each side of each oks_bench row, counted by callgrind around the
# operation's function: repeatable where timings are not (a shared, busy machine).
#   bench/instructions.sh [BUILD_DIR]
set -euo pipefail
bench=${1:-build}/bin/oks_bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%-14s %-22s %12s\n' row operation instructions/op
while read -r row op; do
  log=$(valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect="*${op}(*" \
    "$bench" --benchmark_filter="^${row}\$" --benchmark_min_time=0.2 2>&1)
  iterations=$(awk -v row="$row" '$1 == row { print $6 }' <<<"$log")
  batch=$(sed -n 's/.*batch=\([0-9]*\).*/\1/p' <<<"$log")
  collected=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' <<<"$log")
  printf '%-14s %-22s %12d\n' "$row" "$op" $((collected / (iterations * ${batch:-1})))
done <<'ROWS'
Execute opExecuteHand
Execute opExecuteFramework
ExecuteTraced opExecuteFramework
RoundTrip opRoundTripHand
RoundTrip opRoundTripFramework
LoadUnload opLoadUnload
ROWS
