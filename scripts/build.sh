#!/usr/bin/env bash
# Configures ./build (or $VELMORA_BUILD_DIR) and builds the given targets, or everything.
# Extra CMake settings can come in $VELMORA_CMAKE_ARGS (for example -DVELMORA_BUILD_BENCH=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${VELMORA_BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Build folders of one checkout, and checkouts of one machine, share their cached objects:
  # paths are taken relative to the checkout and the build folder is left out of the key.
  export CCACHE_BASEDIR="$PWD"
  export CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" ${VELMORA_CMAKE_ARGS:-} >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
