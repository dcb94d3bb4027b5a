#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the tool's own code and fails on
# any warning. The POSIX build's compile commands come from build/; the Windows
# platform file is checked too, with mingw-w64's headers, where the Windows
# release build in build/archives/win64 exists (the suite builds it wherever
# mingw-w64 is installed).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > /dev/null
linux_sources=(snapshot/*.cpp)
for source in cli/*.cpp; do
  [ "$source" = cli/platform_windows.cpp ] || linux_sources+=("$source")
done
clang-tidy --quiet -p build "${linux_sources[@]}"

if [ -f build/archives/win64/compile_commands.json ]; then
  # clang brings its own compiler headers; it takes the C++ library and the
  # Windows headers from mingw-w64.
  mingw_cxx=x86_64-w64-mingw32-g++-posix
  cxx_headers=$(dirname "$($mingw_cxx -print-file-name=include)")/include/c++
  clang-tidy --quiet -p build/archives/win64 \
    --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++ \
    --extra-arg=-isystem"$cxx_headers" --extra-arg=-isystem"$cxx_headers"/x86_64-w64-mingw32 \
    --extra-arg=-isystem/usr/x86_64-w64-mingw32/include \
    cli/platform_windows.cpp
else
  echo "tidy.sh: build/archives/win64 not found, so cli/platform_windows.cpp was not checked"
fi
