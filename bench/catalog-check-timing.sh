#!/usr/bin/env bash
# Whole-process timing of `velmora-tools catalog check` on the realistic and large samples:
# median wall time, CPU time and peak memory (maximum resident set) of RUNS runs each.
# Given a second program (an older build), both run alternately, so that a busy machine
# weighs on both alike and their ratio holds even when the figures themselves do not.
#
#   bench/catalog-check-timing.sh [RUNS] [OLD_VELMORA_TOOLS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
old="${2:-}"
new=build/tools/velmora-tools
samples="${VELMORA_BENCH_SAMPLES:-/tmp/velmora-bench-samples}"
for scale in realistic large; do
  [ -d "$samples/$scale" ] || "$new" sample-install "$samples/$scale" --scale "$scale" >/dev/null
done

measure() { # program sample -> "wall cpu peakKiB"
  /usr/bin/time -f '%e %U %S %M' -o /tmp/velmora-bench-time.$$ "$1" catalog check "$2" >/dev/null 2>&1 || true
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' /tmp/velmora-bench-time.$$
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for scale in realistic large; do
  programs=("$new")
  [ -n "$old" ] && programs=("$old" "$new")
  declare -A walls=() cpus=() peaks=()
  for ((i = 0; i < runs; i++)); do
    for p in "${programs[@]}"; do
      read -r wall cpu peak < <(measure "$p" "$samples/$scale")
      walls[$p]+="$wall "; cpus[$p]+="$cpu "; peaks[$p]+="$peak "
    done
  done
  for p in "${programs[@]}"; do
    w=$(tr ' ' '\n' <<<"${walls[$p]}" | grep . | median)
    c=$(tr ' ' '\n' <<<"${cpus[$p]}" | grep . | median)
    m=$(tr ' ' '\n' <<<"${peaks[$p]}" | grep . | median)
    printf '%-9s %-40s median wall %5.2f s  cpu %5.2f s  peak %4d MiB\n' "$scale" "$p" "$w" "$c" $((m / 1024))
  done
  unset walls cpus peaks
done
rm -f /tmp/velmora-bench-time.$$
