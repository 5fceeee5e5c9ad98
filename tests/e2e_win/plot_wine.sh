#!/usr/bin/env bash
# The GDI plot window of refx_win.exe under wine on a private Xvfb display: P 1 opens it
# with the frame where the configuration's edge lines (divisor 8; multipliers 1, 7, 7, 1)
# put it inside the client area, and the arrow keys move the selected cursor.
source "$(dirname "$0")/wine_lib.sh" "$1"
source "$(dirname "$0")/gdi_lib.sh"
start_wine_xvfb

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_win.in,reference_pulse.txt} "$dir"
start_refx "$dir"
key T "$TIME_MENU"
read_wave 1 reference_pulse.txt
send_text P
answer 1 "Enter waveform number, 1 or 2:"
wait_for_lines 'rows $maxy $miny cols $minx $maxx'

# C: cursor 1 (solid) at the first sample, on the left edge. A sets steps of 10 samples;
# two steps right show it as a new full column near the left edge, two left restore it.
xdotool key c a Right Right
wait_for_lines 'rows $maxy $miny cols $minx ([0-9]+) $maxx'
[ "${BASH_REMATCH[1]}" -le $((minx + 10)) ] || fail "cursor moved to column ${BASH_REMATCH[1]}"
xdotool key Left Left
wait_for_lines 'rows $maxy $miny cols $minx $maxx'
xdotool key q q
wait_for_plot_closed
key Q "Q to quit program"
send_text Q
expect_status 0
pass
