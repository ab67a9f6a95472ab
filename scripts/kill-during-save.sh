#!/usr/bin/env bash
# Kills the program at each step that replaces a file while the scripted walk signs up a new
# applicant and saves (then prints, which saves again), and checks what the next run finds:
# the application's document and lists file are one pair, old or new, never one file of each.
#
#   scripts/kill-during-save.sh            (after scripts/build.sh; needs strace)
#
# For the N-th rename of the walk (the user store, then document and lists file of each
# save) strace sends SIGKILL as the call is made. Then `velmora-tools print` reads the
# application as the program does (settling a save cut short) and the lists file must name
# the digest of the document beside it. One line per kill; exit 1 when a pair is mixed or a
# printout comes from a pair that is not whole.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LANG=es_ES.UTF-8

"$build/tools/velmora-tools" sample-install "$work/base" --scale small >/dev/null
cp -a "$work/base" "$work/count-run"
strace -f -qq -c -o "$work/count" -e trace=rename "$build/src/velmora" --recorrido "$work/count-run" \
    >/dev/null 2>&1 || true
renames=$(awk '$NF == "rename" { print $4 }' "$work/count")
echo "El recorrido hace ${renames:-0} renombrados; se corta en cada uno."
failed=0
for n in $(seq 1 "${renames:-0}"); do
    run=$work/run-$n
    cp -a "$work/base" "$run"
    { strace -f -qq -o /dev/null -e trace=rename -e inject=rename:signal=SIGKILL:when="$n" \
        "$build/src/velmora" --recorrido "$run" >/dev/null 2>&1 || true; } 2>/dev/null
    shopt -s nullglob
    docs=("$run"/ficheros/temp/*.doc)
    shopt -u nullglob
    if [ ${#docs[@]} -eq 0 ]; then
        echo "corte $n: ninguna solicitud guardada todavía"
        continue
    fi
    for doc in "${docs[@]}"; do
        name=$(basename "$doc")
        status=0
        "$build/tools/velmora-tools" print "$run" "$name" --pdf "$run/salida.pdf" >"$run/print.log" 2>&1 || status=$?
        lists=${doc%.doc}.xml
        digest=$(sha256sum "$doc" | cut -d' ' -f1 | tr a-f A-F)
        if [ -f "$lists" ] && grep -q "documento=\"$digest\"" "$lists"; then
            echo "corte $n: $name y su lista son una pareja entera; la impresión termina con $status"
            [ "$status" -eq 0 ] || failed=1
        else
            echo "corte $n: $name no tiene su lista; la impresión termina con $status: $(tail -1 "$run/print.log")"
            [ "$status" -ne 0 ] || failed=1
        fi
    done
done
exit $failed
