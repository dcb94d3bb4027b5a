#!/bin/sh
# Installs what pagestow needs from Debian's packages, and only what is
# missing: on a machine that has it all, it does nothing and asks for nothing.
#
#   tools/setup.sh tool    a C++ compiler, CMake and make: enough to build pagestow
#   tools/setup.sh tests   also GoogleTest and every program the test suite runs,
#                          so that no test is skipped
#   tools/setup.sh release the compilers and tools that tools/release.sh uses
#   tools/setup.sh ci      all of these, and what CI checks beyond the suite:
#                          lintian, clang's sanitizers and fuzzer, clang-tidy
#
# This is the one list of the project's packages: the README's commands and
# .ci/run both go through it. It runs apt-get as root, or through sudo.
set -eu

tool_packages="g++ cmake make"
# GoogleTest; pasmo assembles the example and the emulator test's ROM; groff
# checks the manual page; libspectrum and MAME read or run the snapshots;
# mingw-w64 and the aarch64 cross compiler build the release executables that
# Wine and qemu-user run.
test_packages="libgtest-dev pasmo groff-base libspectrum-dev mame
  g++-mingw-w64-x86-64-posix wine wine64 g++-aarch64-linux-gnu qemu-user"
# The cross compilers; groff formats the manual for Windows; dpkg-dev and
# file give the Debian package its dependency list; git makes the source
# archive.
release_packages="g++-mingw-w64-x86-64-posix g++-aarch64-linux-gnu groff-base dpkg-dev file git"
# lintian: the package's checks; clang with its runtime and llvm: the
# sanitizer build and the fuzzer; clang-tidy: the static checks.
ci_packages="lintian clang libclang-rt-14-dev llvm clang-tidy"

case "${1:-}" in
  tool)
    packages=$tool_packages
    needs="a C++20 compiler (g++ 10 or clang 13 and later), CMake 3.25 and make"
    ;;
  tests)
    packages="$tool_packages $test_packages"
    needs="a C++20 compiler, CMake 3.25, make and GoogleTest (for every test also pasmo, groff, libspectrum, MAME, mingw-w64 with Wine, and g++ for aarch64-linux-gnu with qemu-user)"
    ;;
  release)
    packages="$tool_packages $release_packages"
    needs="a C++20 compiler, CMake 3.25, make, mingw-w64 and g++ for aarch64-linux-gnu, groff, dpkg-dev and git"
    ;;
  ci)
    packages="$tool_packages $test_packages $release_packages $ci_packages"
    needs="the same and lintian, clang with its sanitizer runtime, and clang-tidy"
    ;;
  *)
    echo "usage: tools/setup.sh tool|tests|release|ci" >&2
    exit 2
    ;;
esac

# Elsewhere (another distribution, macOS) the packages have other names: say
# what is needed, and stop where the build itself could not start.
if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
  for command in cmake make c++; do
    if ! command -v "$command" >/dev/null 2>&1; then
      echo "setup: no apt-get here; install $needs, then run the command again" >&2
      exit 1
    fi
  done
  exit 0
fi

missing=""
for package in $packages; do
  case " $missing " in *" $package "*) continue ;; esac
  if ! dpkg-query -W -f '${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^ii'; then
    missing="$missing $package"
  fi
done
[ -n "$missing" ] || exit 0

if [ "$(id -u)" = 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root=sudo
else
  echo "setup: to install$missing, run this as root or install sudo" >&2
  exit 1
fi
echo "setup: installing$missing"
$as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086 # one word per package
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
