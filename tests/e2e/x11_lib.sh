# Helpers for end-to-end tests of the plot window: a private Xvfb, the plot window found,
# screenshots and lit-pixel counts. Source after lib.sh. No window manager runs, so keys
# typed with xdotool go to the window under the pointer.

# Polls until the command $2... succeeds; $1 says what is awaited.
poll() {
  local what=$1 deadline=$((SECONDS + E2E_TIMEOUT))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.05
  done
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
window_closed() { ! window_open; }
wait_for_window() { poll "the plot window" window_open && xdotool mousemove 500 400; }
wait_for_no_window() { poll "the plot window to close" window_closed; }

shoot() { xwd -id "$WID" -nobdrs -silent | convert xwd:- "$WORK/shot.png"; }

# Lit pixels in the rectangle of size w x h at (x, y), window coordinates.
lit() {
  convert "$WORK/shot.png" -crop "${3}x${4}+${1}+${2}" +repage -colorspace gray \
    -threshold 50% -format '%[fx:round(mean*w*h)]' info:
}

# Polls screenshots until every row "x y w h op n what" of $2 holds: the rectangle has
# n lit pixels (op eq) or at least n (op ge). $1 names the step; PLOT_E2E_KEEP=dir keeps
# the screenshot of each step for a look.
wait_for_screen() {
  local step=$1 deadline=$((SECONDS + E2E_TIMEOUT)) bad x y w h op n what got
  while :; do
    shoot
    bad=""
    while read -r x y w h op n what; do
      got=$(lit "$x" "$y" "$w" "$h")
      [ "$got" -"$op" "$n" ] || bad+="$what: $got lit, expected $op $n; "
    done <<<"$2"
    [ -n "$bad" ] || break
    if [ "$SECONDS" -ge "$deadline" ]; then
      cp "$WORK/shot.png" "${TMPDIR:-/tmp}/plot_e2e_failed.png"
      fail "$step (screenshot ${TMPDIR:-/tmp}/plot_e2e_failed.png): $bad"
    fi
  done
  [ -z "${PLOT_E2E_KEEP:-}" ] || cp "$WORK/shot.png" "$PLOT_E2E_KEEP/$step.png"
}
