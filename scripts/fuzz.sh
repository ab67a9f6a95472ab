#!/usr/bin/env bash
# Long fuzzing runs with clang and libFuzzer:
#
#   scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#
# TARGET is one of: catalog_decoder catalog_loader criteria conf_xml usuarios_xml sidecar_xml
# document. Builds ./build-fuzz (or $VELMORA_BUILD_DIR) with -DVELMORA_FUZZ=ON, writes the seeds
# from a generated sample installation once, and runs the target for SECONDS (default 600).
# New interesting inputs go to build-fuzz/fuzz/corpus/TARGET; a failing input is saved as
# build-fuzz/fuzz/artifacts/crash-... and can be replayed with the same executable:
#   build-fuzz/fuzz/fuzz_TARGET build-fuzz/fuzz/artifacts/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ]; then
  echo "uso: scripts/fuzz.sh OBJETIVO [SEGUNDOS] [opciones de libFuzzer...]" >&2
  exit 2
fi
target="$1"
seconds="${2:-600}"
shift $(( $# >= 2 ? 2 : 1 ))
build_dir="${VELMORA_BUILD_DIR:-build-fuzz}"

VELMORA_SETUP_FUZZ=1 scripts/setup.sh
CC=clang-14 CXX=clang++-14 VELMORA_BUILD_DIR="$build_dir" \
  VELMORA_CMAKE_ARGS="-DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF ${VELMORA_CMAKE_ARGS:-}" \
  scripts/build.sh "fuzz_$target" velmora-fuzz-seeds

fuzz_dir="$build_dir/fuzz"
if [ ! -d "$fuzz_dir/seeds/$target" ]; then
  ASAN_OPTIONS=detect_leaks=0 "$fuzz_dir/velmora-fuzz-seeds" "$fuzz_dir/seeds"
fi
mkdir -p "$fuzz_dir/corpus/$target" "$fuzz_dir/artifacts"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
exec "$fuzz_dir/fuzz_$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
  -max_len=1048576 -artifact_prefix="$fuzz_dir/artifacts/" "$@" \
  "$fuzz_dir/corpus/$target" "$fuzz_dir/seeds/$target"
