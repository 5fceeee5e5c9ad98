#!/usr/bin/env bash
# Builds refx_lin and starts it in examples/ on the shipped refx_lin.in. Needs only the
# run-time build packages: tests and benchmarks are configured only where their packages are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -DREFX_TESTS=AUTO -DREFX_BENCH=AUTO
cmake --build build -j"$(nproc)" --target refx_lin
cd examples
exec ../build/refx_lin
