#!/usr/bin/env bash
# Extended keys never act in refx_win.exe under wine: PgDn (whose second code is Q), the
# arrows and the function keys do nothing at the main menu and the time waveforms menu; in
# the GDI plot window F2 and F5 (whose key codes are those of q and t) and the page keys do
# nothing while the arrows still move the cursors; and a close request from the window
# manager leaves the plot as Q does, the menus carrying on.
source "$(dirname "$0")/wine_lib.sh" "$1"
CLOSE_REQUEST=$3
XVFB_PID=""
trap '[ -z "$XVFB_PID" ] || kill "$XVFB_PID"; e2e_cleanup' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
until [ -s "$WORK/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$WORK/display")"
# Wine's desktop process keeps the display it started with: let the prefix's server end.
wineserver -w

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
client_geometry() {
  xwininfo -root -children | grep -F '"GRAPHICS_WINDOW"' | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1 || true
}
window_id() { xwininfo -root -children | grep -F '"GRAPHICS_WINDOW"' | awk '{print $1; exit}'; }
full_lines() {
  import -window root png:- | convert - -crop "$geometry" +repage -colorspace gray \
    -compress none pgm:- | awk -v h="$1" -v v="$2" 'NR == 2 { w = $1; ht = $2 } NR > 3 {
      for (i = 1; i <= NF; i++) { if ($i < 128) { row[int(k / w)]++; col[k % w]++ }; k++ } }
    END { printf "rows"; for (r = 0; r < ht; r++) if (row[r] >= h) printf " %d", r
      printf " cols"; for (c = 0; c < w; c++) if (col[c] >= v) printf " %d", c; print "" }'
}
wait_for_lines() {
  local deadline=$((SECONDS + E2E_TIMEOUT)) pattern=""
  seen=""
  until geometry=$(client_geometry) && [ -n "$geometry" ] && IFS='x+' read -r width height _ <<< "$geometry" &&
    minx=$((width / 8)) maxx=$((width / 8 * 7)) maxy=$((height / 8)) miny=$((height / 8 * 7)) &&
    eval "pattern=\"$1\"" && seen=$(full_lines $((maxx - minx)) $((miny - maxy))) && [[ $seen =~ ^$pattern$ ]]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the plot in [$geometry] shows [$seen], expected [$pattern]"
    sleep 0.2
  done
}
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
"$CLOSE_REQUEST" "$(window_id)" || fail "close request not sent"
deadline=$((SECONDS + E2E_TIMEOUT))
while [ -n "$(client_geometry)" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the plot window stayed open"
  sleep 0.1
done
key Q "$MAIN"
send_text Q
expect_status 0
pass
