# The plot viewer in a real X11 window: a driver program plots a square wave (+1 for samples
# 1..512, -1 for 513..1024, 1 ms apart, on -2..2) in a 1000x800 window under Xvfb; keys are
# typed into the window with xdotool and every step is checked on a screenshot, pixel by
# pixel. Every wait polls the screen or a file, never a fixed time.
# Usage: bash plot_x11.sh path/to/plot_driver
set -euo pipefail

DRIVER=$(readlink -f "$1")
WORK=$(mktemp -d)
TIMEOUT=${E2E_TIMEOUT:-30}
XVFB_PID=""
DRIVER_PID=""

cleanup() {
  [ -n "$DRIVER_PID" ] && kill "$DRIVER_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -f "$WORK/shot.png" ]; then cp "$WORK/shot.png" "${TMPDIR:-/tmp}/plot_x11_failed.png" && \
    echo "last screenshot: ${TMPDIR:-/tmp}/plot_x11_failed.png" >&2; fi
  exit 1
}

# Without a display the plot window cannot open: the message and exit status 1.
status=0
env -u DISPLAY "$DRIVER" "$WORK/unused" 2>"$WORK/nodisplay.err" || status=$?
[ "$status" = 1 ] || fail "without a display: exit status $status, expected 1"
grep -q "^Can't connect to server: " "$WORK/nodisplay.err" || fail "without a display: $(cat "$WORK/nodisplay.err")"
[ ! -e "$WORK/unused" ] || fail "without a display the driver still wrote a result"

# Xvfb picks a free display itself and names it on fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
deadline=$((SECONDS + TIMEOUT))
until [ -s "$WORK/display" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$WORK/display")"

# Starts the driver with the given arguments and waits for its window (the root's only
# 1000x800 child); keys go to the window under the pointer, as no window manager runs.
start_driver() {
  "$DRIVER" "$@" 2>"$WORK/driver.err" &
  DRIVER_PID=$!
  local deadline=$((SECONDS + TIMEOUT))
  WID=""
  until [ -n "$WID" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no plot window appeared"
    WID=$(xwininfo -root -children 2>/dev/null | awk '/^ +0x[0-9a-f]+ .*1000x800/ {print $1; exit}')
    [ -n "$WID" ] || sleep 0.05
  done
  xdotool mousemove 500 400
}

# Waits for the driver to end after Q and for its result file.
finish_driver() {
  local deadline=$((SECONDS + TIMEOUT))
  until [ -s "$1" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "driver wrote no result: $(cat "$WORK/driver.err")"
    sleep 0.05
  done
  wait "$DRIVER_PID" || fail "driver exit status $?: $(head -c 3000 "$WORK/driver.err")"
  DRIVER_PID=""
}

shoot() { xwd -id "$WID" -nobdrs -silent | convert xwd:- "$WORK/shot.png"; }
# Number of lit pixels in the rectangle at (x, y) of size w x h, window coordinates.
lit() {
  convert "$WORK/shot.png" -crop "${3}x${4}+${1}+${2}" +repage -colorspace gray \
    -threshold 50% -format '%[fx:round(mean*w*h)]' info:
}

# Polls screenshots until every check in the function named $1 passes.
wait_for_screen() {
  local what=$1 deadline=$((SECONDS + TIMEOUT))
  until shoot && "$what"; do
    [ "$SECONDS" -lt "$deadline" ] || { "$what" verbose || true; fail "screen never showed: $what"; }
  done
  # PLOT_E2E_KEEP=dir keeps the screenshot of each step for a look.
  if [ -n "${PLOT_E2E_KEEP:-}" ]; then cp "$WORK/shot.png" "$PLOT_E2E_KEEP/$what.png"; fi
}

# check NAME ACTUAL EXPECTED: quiet unless the caller passed "verbose".
VERBOSE=""
check() {
  if [ "$2" != "$3" ]; then
    [ -n "$VERBOSE" ] && echo "  $1: got $2, expected $3" >&2
    return 1
  fi
}
at_least() {
  if [ "$2" -lt "$3" ]; then
    [ -n "$VERBOSE" ] && echo "  $1: got $2, expected at least $3" >&2
    return 1
  fi
}

# The full range 0..1.2 s: sample k at x = 125 + (k - 1) * 0.625, value v at y = 400 - 150 v.
first_plot() {
  VERBOSE=${1:-}
  local ok=0
  check "left edge" "$(lit 125 100 1 601)" 601 || ok=1
  check "right edge" "$(lit 875 100 1 601)" 601 || ok=1
  check "top edge" "$(lit 125 100 751 1)" 751 || ok=1
  check "bottom edge" "$(lit 125 700 751 1)" 751 || ok=1
  check "outside the frame" "$(lit 130 705 740 10)" 0 || ok=1
  check "+1 run" "$(lit 130 250 310 1)" 310 || ok=1     # samples 10..505
  check "-1 run" "$(lit 450 550 310 1)" 310 || ok=1     # samples 522..1018
  check "nothing above +1" "$(lit 130 240 310 5)" 0 || ok=1
  check "nothing below -1" "$(lit 450 555 310 5)" 0 || ok=1
  check "after the last sample" "$(lit 770 110 100 585)" 0 || ok=1
  at_least "the drop" "$(lit 443 251 4 298)" 298 || ok=1
  return $ok
}
start_driver "$WORK/result"
wait_for_screen first_plot

# C, T (cursor 2 selected), A A (step 100), five times cursor-left: cursor 2 at sample 524,
# x = 125 + 523 * 0.625 = 451.9, drawn solid; its old column at x 764 is put back.
xdotool key c t a a KP_Left KP_Left KP_Left KP_Left KP_Left
cursor_moved() {
  VERBOSE=${1:-}
  local ok=0
  check "cursor 2" "$(lit 452 100 1 601)" 601 || ok=1
  check "old cursor column" "$(lit 764 100 1 449)" 1 || ok=1  # only the top edge remains
  check "-1 run untouched" "$(lit 453 550 300 1)" 300 || ok=1
  at_least "read-outs above the frame" "$(lit 0 64 1000 10)" 100 || ok=1
  return $ok
}
wait_for_screen cursor_moved

# Q zooms to samples 1..524: 0..0.6 s, 1.25 pixels per sample, the drop at x 764.
xdotool key q
zoomed() {
  VERBOSE=${1:-}
  local ok=0
  check "no cursor" "$(lit 452 110 1 130)" 0 || ok=1
  check "+1 run" "$(lit 130 250 630 1)" 630 || ok=1
  check "-1 run" "$(lit 767 550 10 1)" 10 || ok=1
  check "after sample 524" "$(lit 781 110 90 585)" 0 || ok=1
  check "no read-outs" "$(lit 0 64 1000 10)" 0 || ok=1
  return $ok
}
wait_for_screen zoomed

# T enters truncation mode at i_max 524 (lowered from 1024); A A and cursor-left: 424,
# marker at x = 125 + 423 * 1.25 = 653.75.
xdotool key t a a KP_Left
marker() {
  VERBOSE=${1:-}
  local ok=0
  check "marker" "$(lit 654 100 1 601)" 601 || ok=1
  check "old marker column" "$(lit 779 255 1 290)" 0 || ok=1
  return $ok
}
wait_for_screen marker

# Q: samples after 424 are drawn at zero (y 400).
xdotool key q
truncated() {
  VERBOSE=${1:-}
  local ok=0
  check "values up to 424" "$(lit 130 250 520 1)" 520 || ok=1
  check "zero after 424" "$(lit 660 400 115 1)" 115 || ok=1
  check "+1 gone after 424" "$(lit 660 250 115 1)" 0 || ok=1
  check "no marker" "$(lit 654 410 1 130)" 0 || ok=1
  return $ok
}
wait_for_screen truncated

# Q ends the viewer; the driver reports the range and truncation point it was left with.
xdotool key q
finish_driver "$WORK/result"
read -r i_min i_max i_truncate <"$WORK/result"
[ "$i_min $i_max $i_truncate" = "1 524 424" ] || fail "result $i_min $i_max $i_truncate"

# A busy waveform drawn in batches of segments gives the same pixels as drawn line by line.
settled() {
  cp "$WORK/shot.png" "$WORK/previous.png" 2>/dev/null || true
  shoot
  [ "$(lit 125 100 1 601)" = 601 ] &&
    [ "$(compare -metric AE "$WORK/shot.png" "$WORK/previous.png" null: 2>&1 || true)" = 0 ]
}
for mode in per-line batched; do
  rm -f "$WORK/shot.png" "$WORK/previous.png"
  start_driver "$WORK/result-$mode" dense "$mode"
  deadline=$((SECONDS + TIMEOUT))
  until settled; do [ "$SECONDS" -lt "$deadline" ] || fail "$mode plot never settled"; done
  cp "$WORK/shot.png" "$WORK/$mode.png"
  [ -z "${PLOT_E2E_KEEP:-}" ] || cp "$WORK/shot.png" "$PLOT_E2E_KEEP/dense-$mode.png"
  xdotool key q
  finish_driver "$WORK/result-$mode"
done
differing=$(compare -metric AE "$WORK/per-line.png" "$WORK/batched.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "batched and line-by-line plots differ in $differing pixels"
[ "$(convert "$WORK/batched.png" -crop 749x599+126+101 +repage -colorspace gray -threshold 50% \
      -format '%[fx:round(mean*w*h)]' info:)" -gt 20000 ] || fail "the dense plot drew too little"

echo "PASS: plot viewer under Xvfb"
