#!/usr/bin/env bash
# refx_win.exe --script under wine, with no display, on the example script of the README:
# the same result file as refx_lin's run of the same script and as direct_arrival.txt, and
# the two plot pictures.
# Usage: script_wine.sh REFX_WIN_EXE REFX_LIN
source "$(dirname "$0")/wine_lib.sh" "$1"
REFX_LIN=$(readlink -f "$2")
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

win=$(mktemp -d -p "$WORK") lin=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_win.in,reference_pulse.txt,measured.txt,reflection_run.script} "$win"
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt,reflection_run.script} "$lin"
status=0
(cd "$win" && env -u DISPLAY wine "$REFX_BIN" --script reflection_run.script </dev/null \
  >out 2>err) || status=$?
[ "$status" = 0 ] || fail "refx_win: status $status; $(cat "$win/err")"
(cd "$lin" && env -u DISPLAY "$REFX_LIN" --script reflection_run.script </dev/null >out 2>err) ||
  fail "refx_lin: status $?"
for n in 1 2; do
  grep -qx "Plot picture written to plot-00$n.png" "$win/out" || fail "picture $n not named"
  [ "$(identify -format '%m %w %h' "$win/plot-00$n.png")" = "PNG 1000 800" ] || fail "plot-00$n.png"
done

points_of "$EXAMPLES_DIR/direct_arrival.txt" > "$WORK/expected"
points_of "$win/result.txt" > "$WORK/win"
points_of "$lin/result.txt" > "$WORK/lin"
same_points "$WORK/expected" "$WORK/win" 1e-9
same_points "$WORK/lin" "$WORK/win" 1e-9
pass
