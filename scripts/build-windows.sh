#!/usr/bin/env bash
# Builds morvex.exe for Windows with the MinGW-w64 cross compilers: 32-bit (i686) in
# build/windows-i686/morvex.exe and 64-bit (x86_64) in build/windows-x86_64/morvex.exe.
# Installs the cross compilers when they are missing. Both are Release builds that need no DLLs
# beside them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
for arch in i686 x86_64; do
  dir=build/windows-$arch
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$arch.cmake \
        -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  cmake --build "$dir" -j2
  echo "built $dir/morvex.exe"
done
