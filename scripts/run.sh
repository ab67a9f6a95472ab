#!/usr/bin/env bash
# Installs what is missing, builds, writes a sample installation into ./sample and runs on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh velmora-tools
build_dir="${VELMORA_BUILD_DIR:-build}"
rm -rf sample
"$build_dir"/tools/velmora-tools sample-install sample --scale realistic
"$build_dir"/tools/velmora-tools catalog check sample
