#!/usr/bin/env bash
# Installs what is missing, builds, writes a sample installation into ./sample and starts
# the program on it. Without a display, the program walks through its windows by itself
# (offscreen) and leaves screenshots and a printed PDF in ./sample.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh velmora-tools velmora
build_dir="${VELMORA_BUILD_DIR:-build}"
rm -rf sample
"$build_dir"/tools/velmora-tools sample-install sample --scale realistic
"$build_dir"/tools/velmora-tools catalog check sample | tail -n 5
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build_dir"/src/velmora sample
fi
echo
echo "No hay pantalla: Velmora recorre sus ventanas sola (sin pantalla) y guarda capturas en ./sample."
QT_QPA_PLATFORM=offscreen "$build_dir"/src/velmora --recorrido sample
echo
echo "Capturas y solicitud impresa:"
ls -1 sample/captura-*.png sample/recorrido-solicitud.pdf
