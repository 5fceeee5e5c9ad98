#!/usr/bin/env bash
# Builds everything and runs the whole test suite (with refx_win.exe, cross-built first,
# under wine), fuzzes every reader for 25 s each, then runs the suite again under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)

scripts/check-runtime-build.sh

scripts/build-win.sh --no-install
cmake -S . -B build -DREFX_TESTS=ON -DREFX_BENCH=ON -DREFX_WIN_EXE="$(pwd)/build-win/refx_win.exe"
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# Every reader under libFuzzer for a bounded time; any finding fails the run.
scripts/fuzz.sh 25

cmake -S . -B build-asan -DREFX_SANITIZE=ON -DREFX_TESTS=ON -DREFX_BENCH=OFF
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$jobs")
