#!/usr/bin/env bash
# Configures and builds into a folder: scripts/build.sh BUILD_DIR [cmake options...]
# OKS_BUILD_TARGETS="a b" builds only those targets (and what they need).
# Compiles through ccache when it is installed, so that the main job's and the test command's
# builds (same flags, different folders) compile each file once.
set -euo pipefail
dir=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
launcher=()
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$root"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOKS_WERROR=ON "${launcher[@]}" "$@" >/dev/null
targets=()
if [ -n "${OKS_BUILD_TARGETS:-}" ]; then
  read -ra names <<<"$OKS_BUILD_TARGETS"
  targets=(--target "${names[@]}")
fi
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
