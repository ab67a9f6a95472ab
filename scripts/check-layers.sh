#!/usr/bin/env bash
# Fails when a folder of src/ includes a folder above it. The order, lowest first:
#   platform -> crypto, catalog, users, signing -> applications, editor -> printing, office -> app -> ui
# Folders of one rank may include each other.
set -euo pipefail
cd "$(dirname "$0")/.."
rank() {
  case "$1" in
    platform) echo 0 ;; crypto | catalog | users | signing) echo 1 ;; applications | editor) echo 2 ;;
    printing | office) echo 3 ;; app) echo 4 ;; ui) echo 5 ;; *) echo 9 ;;
  esac
}
status=0
while IFS=: read -r file _ line; do
  from=$(echo "$file" | cut -d/ -f2)
  to=$(echo "$line" | sed -E 's/.*#include *"([a-z]+)\/.*/\1/')
  [ "$to" = "$line" ] && continue
  # The window adaptors live in platform/widgets but only the window library links them.
  if [ "$(rank "$from")" -lt 9 ] && [ "$(rank "$to")" -lt 9 ] && [ "$(rank "$to")" -gt "$(rank "$from")" ]; then
    echo "include upwards: $file -> $to"
    status=1
  fi
done < <(grep -rn -E '#include *"[a-z]+/' src --include='*.h' --include='*.cpp')
# The core library never includes the window library.
if grep -rln -E '#include *"(ui|platform/widgets)/' src --include='*.h' --include='*.cpp' |
    grep -v -E '^src/(ui|platform/widgets)/|^src/(main|office_main)\.cpp$'; then
  echo "the core includes window code (above)"
  status=1
fi
# Below the windows a failure is a value until a window or a tool tells it: only the windows,
# the tools and the message service itself know the service that shows messages (a routine
# that must ask mid-way takes platform/UserQuestions.h).
if grep -rln -E '#include *"platform/MessageService\.h"' src --include='*.h' --include='*.cpp' |
    grep -v -E '^src/(ui|platform/widgets)/|^src/platform/MessageService\.|^src/(main|office_main)\.cpp$'; then
  echo "code below the windows shows messages itself (above)"
  status=1
fi
[ "$status" -eq 0 ] && echo "layers: no include goes upwards"
exit "$status"
