#!/usr/bin/env bash
# Every file saved by the runs in identity/*.script (the typical reflection run, the variants
# of filter generation and low-pass filtering, the FFT and time menus), in text and binary,
# must keep the SHA-256 recorded in tests/fixtures/results_identity.sha256: a faster
# transform, more threads or a new check must not move one bit of a finite result.
# Each run is made with one worker thread, two, and the machine's default.
# Usage: results_identity_e2e.sh path/to/refx_lin [--record]   (--record rewrites the fixture)
set -euo pipefail
bin=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
examples=$(cd "$here/../../examples" && pwd)
fixture="$here/../fixtures/results_identity.sha256"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs script $1 with REFX_THREADS=$2 (empty: unset) and prints "script/file hash" lines.
run_script() {
  local script=$1 threads=$2 name dir
  name=$(basename "$script" .script)
  dir="$work/$name.${threads:-default}"
  mkdir "$dir"
  cp "$examples"/{refx_lin.in,reference_pulse.txt,measured.txt} "$script" "$dir"
  # A script may bring its own configuration (NAME.in beside it), such as another size.
  if [ -f "${script%.script}.in" ]; then cp "${script%.script}.in" "$dir/refx_lin.in"; fi
  if ! (cd "$dir" && env ${threads:+REFX_THREADS=$threads} "$bin" --script "$name.script" \
        </dev/null >transcript 2>errors); then
    echo "FAIL: $name (threads ${threads:-default}) ended with an error: $(cat "$dir/errors")" >&2
    exit 1
  fi
  (cd "$dir" && rm refx_lin.in reference_pulse.txt measured.txt "$name.script" transcript errors &&
    for f in *; do echo "$name/$f $(sha256sum < "$f" | cut -d' ' -f1)"; done)
}

if [ "${2:-}" = --record ]; then
  for s in "$here"/identity/*.script; do run_script "$s" 1; done > "$fixture"
  echo "recorded $(wc -l < "$fixture") hashes in $fixture"
  exit 0
fi

[ "$(wc -l < "$fixture")" -ge 30 ] || { echo "FAIL: fixture has too few hashes" >&2; exit 1; }
status=0
for threads in 1 2 ""; do
  for s in "$here"/identity/*.script; do run_script "$s" "$threads"; done > "$work/got.$threads"
  if ! diff -u "$fixture" "$work/got.$threads" >&2; then
    echo "FAIL: saved results differ from the fixture (threads ${threads:-default})" >&2
    status=1
  fi
done
[ "$status" = 0 ] && echo "all $(wc -l < "$fixture") saved files identical with 1, 2 and default threads"
exit $status
