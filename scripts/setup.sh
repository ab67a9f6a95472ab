#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-translations-l10n libgl-dev
  libpugixml-dev libzint-dev libzxing-dev libzip-dev libpng-dev
  libpoppler-qt6-dev libnss3-dev libqpdf-dev
  # importing certificates (pk12util, certutil); the tests' certificates (certutil, openssl)
  # and attachments (qpdf)
  libnss3-tools openssl qpdf
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation poppler-utils xvfb
  # scripts/package.sh: CPack's dependency search (dpkg-shlibdeps, file), the icons' PNG
  # sizes, and the package's checks (lintian, desktop entries, manual pages).
  dpkg-dev file librsvg2-bin lintian desktop-file-utils man-db
)
# The long fuzzing runs (scripts/fuzz.sh) build with clang and libFuzzer; nothing else needs them.
if [ "${VELMORA_SETUP_FUZZ:-0}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalando paquetes: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
