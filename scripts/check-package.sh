#!/usr/bin/env bash
# Checks the Debian package made by scripts/package.sh: lists its contents and makes sure the
# programs, desktop entries, icons, manual pages and user manual are in it, runs lintian (its
# errors and warnings fail), validates the desktop entries and the manual pages, then unpacks
# it into a scratch folder and walks the unpacked program through a sample contest written by
# the unpacked tools.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${VELMORA_BUILD_DIR:-build}"
debs=("$build_dir"/velmora_*.deb)
deb="${debs[0]}"
[ -f "$deb" ] || { echo "no package in $build_dir: run scripts/package.sh" >&2; exit 1; }

echo "== $deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
status=0
for path in usr/bin/velmora usr/bin/velmora-oficina usr/bin/velmora-tools \
    usr/share/applications/velmora.desktop usr/share/applications/velmora-oficina.desktop \
    usr/share/icons/hicolor/scalable/apps/velmora.svg usr/share/icons/hicolor/48x48/apps/velmora.png \
    usr/share/icons/hicolor/scalable/apps/velmora-oficina.svg \
    usr/share/icons/hicolor/48x48/apps/velmora-oficina.png \
    usr/share/man/man1/velmora.1.gz usr/share/man/man1/velmora-oficina.1.gz \
    usr/share/man/man1/velmora-tools.1.gz "usr/share/velmora/Manual de Usuario.doc" \
    usr/share/doc/velmora/copyright; do
  grep -qF " ./$path" <<<"$contents" || { echo "missing from the package: /$path"; status=1; }
done
echo "== dependencies: $(dpkg-deb -f "$deb" Depends)"

echo "== lintian"
lintian --fail-on error,warning "$deb" || status=1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
echo "== desktop entries and manual pages"
desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop || status=1
for page in "$scratch"/root/usr/share/man/man1/*.1.gz; do
  warnings=$(LANG=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$(basename "$page"): $warnings"; status=1; }
done

echo "== the unpacked programs on a sample contest"
export QT_QPA_PLATFORM=offscreen
"$scratch/root/usr/bin/velmora-tools" sample-install "$scratch/concurso" --scale small >/dev/null
"$scratch/root/usr/bin/velmora" --recorrido "$scratch/concurso" >"$scratch/recorrido.log" 2>&1 || {
  cat "$scratch/recorrido.log"
  echo "the unpacked velmora --recorrido failed"
  exit 1
}
tail -n 3 "$scratch/recorrido.log"
[ -s "$scratch/concurso/recorrido-solicitud.pdf" ] || { echo "no printed application"; status=1; }
# The unpacked tools draw the PDF's pages with the system's poppler.
"$scratch/root/usr/bin/velmora-tools" barcode read "$scratch/concurso/recorrido-solicitud.pdf" \
    >"$scratch/codigos.txt" && [ -s "$scratch/codigos.txt" ] ||
  { echo "the unpacked tools cannot read the barcodes of the printed application"; status=1; }
[ "$status" -eq 0 ] && echo "package: contents, lintian, desktop entries, manual pages and a walk all good"
exit "$status"
