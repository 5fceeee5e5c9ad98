#!/usr/bin/env bash
# Proves the README's first command needs no test package: configures with GoogleTest,
# Google Benchmark and FFTW hidden, builds refx_lin alone, and starts it on the example
# configuration in tmux until its main menu shows, then quits it.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-runtime
cmake -S . -B "$dir" -DREFX_TESTS=AUTO -DREFX_BENCH=AUTO \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_FFTW3L=ON
cmake --build "$dir" -j"$(nproc)" --target refx_lin
if [ -e "$dir/tests" ] || [ -e "$dir/bench" ]; then
  echo "FAIL: tests or benchmarks were configured without their packages" >&2
  exit 1
fi
bin=$(readlink -f "$dir/refx_lin")
sock="refx_runtime_$$"
status=$(mktemp)
trap 'tmux -L "$sock" kill-server >/dev/null 2>&1 || true; rm -f "$status"' EXIT
tmux -L "$sock" -f /dev/null new-session -d -s run -x 100 -y 30 \
  "cd examples && '$bin'; echo \$? > '$status.done'; mv '$status.done' '$status.out'"
for _ in $(seq 300); do
  if tmux -L "$sock" capture-pane -p -t run 2>/dev/null | grep -q "Q to quit program"; then break; fi
  sleep 0.1
done
tmux -L "$sock" capture-pane -p -t run | grep -q "Q to quit program" \
  || { echo "FAIL: the main menu did not show" >&2; exit 1; }
tmux -L "$sock" send-keys -t run q
for _ in $(seq 300); do [ -e "$status.out" ] && break; sleep 0.1; done
[ "$(cat "$status.out" 2>/dev/null)" = 0 ] || { echo "FAIL: refx_lin did not end with status 0" >&2; exit 1; }
rm -f "$status.out"
echo "runtime-only build: refx_lin built and started without test packages"
