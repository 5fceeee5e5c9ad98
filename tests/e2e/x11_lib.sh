# Helpers for end-to-end tests of the plot window: a private Xvfb, the plot window found,
# screenshots and lit-pixel counts. Source after lib.sh. No window manager runs, so keys
# typed with xdotool go to the window under the pointer.

# Polls until the command $2... succeeds; $1 says what is awaited.
poll() {
  local what=$1 deadline=$((SECONDS + E2E_TIMEOUT)); shift
  until "$@"; do ((SECONDS < deadline)) || fail "timed out waiting for $what"; sleep .05; done
}

# Xvfb picks a free display itself and names it on fd 3 once it accepts clients.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  trap 'kill "$XVFB_PID" 2>/dev/null || true; e2e_cleanup' EXIT
  poll "Xvfb" test -s "$WORK/display"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

# The plot window is the only child of the root window on this private display.
window_open() {
  WID=$(xwininfo -root -children | awk '/^ +0x[0-9a-f]+ / {print $1; exit}')
  [ -n "$WID" ]
}
close_window() { xdotool key q; poll "the plot window to close" eval '! window_open'; }

# Types the xdotool keys $2... into the window and polls screenshots until every row
# "x y w h op n what" of $1 holds: the rectangle of size w x h at (x, y) has n lit pixels
# (op eq) or at least / less than n (ge, lt).
keys_then_screen() {
  local rows=$1 deadline=$((SECONDS + E2E_TIMEOUT)) bad x y w h op n what got
  shift
  [ $# -eq 0 ] || xdotool key "$@"
  while :; do
    # A window not yet viewable cannot be captured: try again until it is.
    if ! xwd -id "$WID" -nobdrs -silent 2>/dev/null | convert xwd:- "$WORK/shot.png" 2>/dev/null
    then
      [ "$SECONDS" -lt "$deadline" ] || fail "no screenshot of the plot window"
      sleep .05
      continue
    fi
    bad=""
    while read -r x y w h op n what; do
      got=$(convert "$WORK/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray \
        -threshold 50% -format '%[fx:round(mean*w*h)]' info:)
      [ "$got" -"$op" "$n" ] || bad+="$what: $got lit, expected $op $n; "
    done <<<"$rows"
    [ -n "$bad" ] || break
    [ "$SECONDS" -lt "$deadline" ] || { cp "$WORK/shot.png" "${TMPDIR:-/tmp}/plot_e2e_failed.png"
      fail "after keys $* (screenshot ${TMPDIR:-/tmp}/plot_e2e_failed.png): $bad"; }
  done
}
