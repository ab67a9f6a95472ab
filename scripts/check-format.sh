#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it (.clang-format at the root).
# Debian 12's clang-format (14) is the reference: another version may lay lines out otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  echo "Instalando paquetes: clang-format"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends clang-format
fi
status=0
folders=()
for d in src tests tools bench fuzz cmake; do [ -d "$d" ] && folders+=("$d"); done
while IFS= read -r -d '' file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "not formatted (run clang-format -i): $file"
    status=1
  fi
done < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
[ "$status" -eq 0 ] && echo "format: every C++ file is as clang-format lays it out"
exit "$status"
