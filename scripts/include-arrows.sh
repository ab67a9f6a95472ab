#!/usr/bin/env bash
# Prints, as a Markdown table, how many `#include "folder/…"` lines each folder of src/ (and
# tools/) has into each other folder of src/, at a commit (default HEAD): the arrows between
# the layers, to read beside scripts/check-layers.sh, which only says whether one goes upwards.
# platform/widgets is its own row and column (only the window library links it); "main" is
# src/main.cpp and src/office_main.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
rev="${1:-HEAD}"
git grep -E '^#include "[a-z]+/' "$rev" -- 'src/*.h' 'src/*.cpp' 'tools/*.h' 'tools/*.cpp' |
  sed -E "s#^$rev:(src/)?##; s#^([^:]*):.*\#include \"([a-z]+(/widgets)?)/.*#\1 \2#" |
  awk '
    { split($1, p, "/"); from = p[1]; if (from ~ /\.cpp$/) from = "main";
      if (from == "platform" && p[2] == "widgets") from = "platform/widgets";
      to = $2; if (to ~ /\/widgets$/ && to != "platform/widgets") to = substr(to, 1, index(to, "/") - 1);
      if (from != to) count[from, to]++ }
    END {
      n = split("platform crypto catalog users signing applications editor printing office app platform/widgets ui main tools", order, " ");
      header = "| from \\ to |"; rule = "|---|";
      m = n - 2; # main and tools are included by nothing
      for (j = 1; j <= m; j++) { header = header " " order[j] " |"; rule = rule "---|" }
      print header; print rule;
      for (i = 1; i <= n; i++) {
        line = "| " order[i] " |"; any = 0;
        for (j = 1; j <= m; j++) { c = count[order[i], order[j]]; line = line " " (c ? c : "") " |"; if (c) any = 1 }
        if (any) print line
      }
    }'
