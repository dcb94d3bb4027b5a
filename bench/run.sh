#!/usr/bin/env bash
# Times the usage text's example run, with three 48 KB inputs, against cp of
# a 131103-byte file on the same machine, and prints the ratio of the two
# medians. Needs hyperfine (Debian package "hyperfine") and a built tool:
#
#   bench/run.sh [path/to/pagestow]      (default: build/pagestow)
set -euo pipefail

tool=$(realpath "${1:-build/pagestow}")
command -v hyperfine >/dev/null || { echo "bench: hyperfine is not installed (apt-get install hyperfine)" >&2; exit 1; }
[ -x "$tool" ] || { echo "bench: no executable at $tool; build the project first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for name in program.bin page17.b page19.b; do
  head -c 49152 /dev/urandom >"$name"
done
head -c 131103 /dev/urandom >copy-source.sna

hyperfine --warmup 50 --runs 1000 -N --export-csv times.csv \
  "$tool 128game.sna 24200 program.bin 24200 page17.b 65536 page19.b 81920" \
  "cp copy-source.sna copy.sna"

# Columns: command, mean, stddev, median, ...; rows in the order given above.
awk -F, 'NR == 2 { tool = $4 } NR == 3 { copy = $4 }
  END { printf "median pagestow %.1f us, cp %.1f us, ratio %.2f (goal: at most 1.5)\n", tool * 1e6, copy * 1e6, tool / copy }' times.csv
