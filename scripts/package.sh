#!/usr/bin/env bash
# Builds the Debian package, build/velmora_<version>_amd64.deb (or in $VELMORA_BUILD_DIR):
# installs what is missing, builds the three programs and the package's files (icons,
# manual pages, user manual) in the usual build folder, reusing what is already built, and
# packs them with CPack. Install it with: apt install ./build/velmora_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh velmora velmora-oficina velmora-tools velmora_package_files
build_dir="${VELMORA_BUILD_DIR:-build}"
rm -f "$build_dir"/velmora_*.deb
if ! (cd "$build_dir" && cpack -G DEB >cpack.log 2>&1); then
  cat "$build_dir/cpack.log" >&2
  exit 1
fi
ls -1 "$build_dir"/velmora_*.deb
