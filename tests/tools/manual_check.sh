#!/usr/bin/env bash
# The manual page lints clean (mandoc -T lint, every level down to style), renders through
# man without a groff warning, has a NAME line lexgrog can index for whatis, and carries
# the project's version.
# Usage: manual_check.sh [PAGE]   (default: docs/refx_lin.1 of this repository)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
page=${1:-$here/../../docs/refx_lin.1}
fail() { echo "FAIL: $*" >&2; exit 1; }

lint=$(mandoc -T lint "$page" 2>&1) || true
[ -z "$lint" ] || fail "mandoc -T lint:"$'\n'"$lint"

for width in 80 100; do
  warnings=$(MANWIDTH=$width man --warnings=all -l "$page" 2>&1 >/dev/null) || fail "man -l failed"
  [ -z "$warnings" ] || fail "man -l at $width columns:"$'\n'"$warnings"
done
text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "CONFIGURATION FILE" "FILE FORMATS" \
  "PLOT VIEWER" "EXIT STATUS" FILES EXAMPLES REFX_WIN; do
  grep -qx "$section" <<< "$text" || fail "no section $section"
done

whatis=$(lexgrog "$page") || fail "lexgrog finds no NAME line"
grep -qF '"refx_lin - ' <<< "$whatis" || fail "lexgrog: $whatis"

version=$(sed -n 's/^project(refx VERSION \([0-9][0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
grep -q "^\.TH REFX_LIN 1 [0-9-]* \"refx $version\"" "$page" || fail "the .TH line does not carry refx $version"
echo "manual: $(basename "$page") lints clean, renders, and names refx $version"
