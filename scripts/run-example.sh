#!/usr/bin/env bash
# Builds refx_lin and starts it in examples/ on the shipped refx_lin.in.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -DREFX_BENCH=OFF
cmake --build build -j"$(nproc)" --target refx_lin
cd examples
exec ../build/refx_lin
