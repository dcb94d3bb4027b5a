#!/bin/sh
# Builds every release artifact from the commit checked out, in a fresh build
# folder, and writes them with their SHA256SUMS into one folder:
#
#   tools/release.sh [FOLDER]        (default: release)
#
# The archives' times are SOURCE_DATE_EPOCH, by default the commit's time, so
# the same commit gives the same bytes wherever it is built.
set -eu
cd "$(dirname "$0")/.."
# Packers copy the modes of the files they make into the archives.
umask 022

out=$(realpath -m "${1:-release}")
tools/setup.sh release
: "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH

rm -rf build-release
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPAGESTOW_RELEASE_DIR="$out"
cmake --build build-release --target release -j2
(cd "$out" && sha256sum -c --quiet SHA256SUMS)
