#!/usr/bin/env bash
# Prints the non-blank lines of tests and of code, and tests as a fraction of code.
# Tests: everything under tests/ (unit tests, JSON cases, their CMake), except fuzz drivers.
# Code: everything else the project wrote and tracks: oks/, the top CMakeLists.txt, cmake/,
# scripts/, examples/ and .ci/. Fuzz and benchmark drivers (bench/, any *fuzz* path) count in
# neither; nor do documents (README.md, docs/).
set -euo pipefail
cd "$(dirname "$0")/.."
count() { grep -cv '^[[:space:]]*$' "$@" /dev/null | awk -F: '{n += $NF} END {print n + 0}'; }
mapfile -t tests < <(git ls-files tests | grep -iv fuzz)
mapfile -t code < <(git ls-files oks CMakeLists.txt cmake scripts examples .ci | grep -iv fuzz)
t=$(count "${tests[@]}")
c=$(count "${code[@]}")
echo "tests: $t non-blank lines in ${#tests[@]} files"
echo "code:  $c non-blank lines in ${#code[@]} files"
awk -v t="$t" -v c="$c" 'BEGIN {printf "tests / code: %.2f\n", t / c}'
