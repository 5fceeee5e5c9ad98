#!/usr/bin/env bash
# Runs the accuracy check of the Windows build under wine, then holds its digests against
# the Linux build's: our functions must give the same bits in both, and so must the C
# library functions the program still takes from each platform (logl, atanl, sqrtl, and the
# double log and exp of the plot axis).
# Usage: xmath_check_wine.sh path/to/xmath_check.exe path/to/xmath_check
set -euo pipefail
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
win=$(wine "$1" | tr -d '\r') || { echo "$win"; echo "FAIL: the Windows check failed"; exit 1; }
echo "$win"
lin=$("$2" --quiet)
status=0
for digest in xmath libm axis; do
  w=$(grep "^$digest digest" <<<"$win")
  l=$(grep "^$digest digest" <<<"$lin")
  if [ -z "$w" ] || [ "$w" != "$l" ]; then
    echo "FAIL: $digest results differ: Windows '$w', Linux '$l'"
    status=1
  fi
done
[ $status = 0 ] && echo "PASS: both builds give the same bits"
exit $status
