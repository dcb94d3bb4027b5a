#!/usr/bin/env bash
# Times the usage text's example run, with three 48 KB inputs, side by side:
# the release executable (statically linked), this build's executable
# (dynamically linked), cp of a 131103-byte file, and the floor, floor.c
# beside this script, which makes the same system calls and nothing else.
# Prints each median and its ratio to the floor's. Needs hyperfine (Debian
# package "hyperfine"), a C compiler, and the build the test suite makes:
#
#   bench/run.sh [release-executable [build-executable]]
#
# By default the release executable is the one the suite takes out of its
# archive in build/archives, and the build's is build/pagestow.
set -euo pipefail
cd "$(dirname "$0")/.."

machine=$(uname -m)
release_default=$(find build/archives/"linux-$machine"/unpacked -name pagestow -type f 2>/dev/null | head -n 1)
release=$(realpath "${1:-${release_default:-build/archives/linux-$machine/unpacked/pagestow}}")
build=$(realpath "${2:-build/pagestow}")
command -v hyperfine >/dev/null || { echo "bench: hyperfine is not installed (apt-get install hyperfine)" >&2; exit 1; }
for tool in "$release" "$build"; do
  [ -x "$tool" ] || { echo "bench: no executable at $tool; build the project and its tests first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -static -o "$work/floor" bench/floor.c
cd "$work"
for name in program.bin page17.b page19.b; do
  head -c 49152 /dev/urandom >"$name"
done
head -c 131103 /dev/urandom >copy-source.sna

example="128game.sna 24200 program.bin 24200 page17.b 65536 page19.b 81920"
hyperfine --warmup 50 --runs 1000 -N --export-csv times.csv \
  -n release "$release $example" \
  -n build "$build $example" \
  -n cp "cp copy-source.sna copy.sna" \
  -n floor "./floor $example"

# Columns: command, mean, stddev, median, ...; one row per command.
awk -F, 'NR > 1 { name[NR] = $1; median[NR] = $4 } $1 == "floor" { floor = $4 }
  END {
    for (row = 2; row <= NR; ++row) {
      printf "%-8s median %6.1f us, %.2fx the floor\n", name[row], median[row] * 1e6, median[row] / floor
    }
    print "goal: the release executable at most 1.15x the floor"
  }' times.csv
