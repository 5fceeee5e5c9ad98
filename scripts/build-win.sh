#!/usr/bin/env bash
# Cross-builds refx_win.exe for Windows on Debian with mingw-w64: build-win/refx_win.exe,
# one self-contained program. Installs the cross compiler and wine (to try it) first,
# unless called with --no-install.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --no-install ]; then scripts/install-deps.sh win; fi
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
cmake --build build-win -j"$(nproc)" --target refx_win xmath_check
echo "built $(pwd)/build-win/refx_win.exe and $(pwd)/build-win/xmath_check.exe"
