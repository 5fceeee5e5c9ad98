#!/usr/bin/env bash
# Extended keys never act in refx_win.exe under wine: PgDn (whose second code is Q), the
# arrows and the function keys do nothing at the main menu and the time waveforms menu; in
# the GDI plot window F2 and F5 (whose key codes are those of q and t) and the page keys do
# nothing while the arrows still move the cursors; and a close request from the window
# manager leaves the plot as Q does, the menus carrying on.
source "$(dirname "$0")/wine_lib.sh" "$1"
CLOSE_REQUEST=$3
source "$(dirname "$0")/gdi_lib.sh"
start_wine_xvfb

KEYS=(NPage PPage Home End IC DC Up Down Left Right F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12)
special_keys() { tm send-keys -t refx "${KEYS[@]}"; }
MAIN="Q to quit program"

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_win.in,reference_pulse.txt} "$dir"
start_refx "$dir"
wait_for_text "$MAIN"
before=$(screen_text)
special_keys
# Were any of them taken as a key, B would not be the only change (PgDn would have quit).
key B "(binary-ri selected)"
[ "$(screen_text)" = "${before/ascii-magph/binary-ri}" ] || fail "the main menu changed (keys acted, or the screen was not cleared)"
key B "(ascii-magph selected)"
before=$(screen_text)
key T "$TIME_MENU"
special_keys
key Q "$MAIN"
[ "$(screen_text)" = "$before" ] || fail "keys at the time waveforms menu acted"
key T "$TIME_MENU"
read_wave 1 reference_pulse.txt

# The plot, as plot_wine.sh checks it.
send_text P
answer 1 "Enter waveform number, 1 or 2:"
wait_for_lines 'rows $maxy $miny cols $minx $maxx'

# F2 would leave the plot (the window would go), F12 and the page keys do nothing; then C,
# A (steps of 10) and two steps right show cursor 1 near the left edge.
xdotool key F2 Next Prior F12
xdotool key c a Right Right
wait_for_lines 'rows $maxy $miny cols $minx ([0-9]+) $maxx'
[ "${BASH_REMATCH[1]}" -le $((minx + 10)) ] || fail "cursor moved to column ${BASH_REMATCH[1]}"
# F5 would select cursor 2, whose moves would show as another full column: cursor 1 moves
# back onto the left edge instead.
xdotool key F5 Next Left Left
wait_for_lines 'rows $maxy $miny cols $minx $maxx'

# The close request leaves the cursors (zooming as Q does) and the plot; the window closes
# and the time waveforms menu takes keys again.
"$CLOSE_REQUEST" "$(plot_window_id)" || fail "close request not sent"
wait_for_plot_closed
key Q "$MAIN"
send_text Q
expect_status 0
pass
