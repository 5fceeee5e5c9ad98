#!/usr/bin/env bash
# Plot pictures of script mode against the real X11 window: the same keys are typed into
# refx_lin on a private Xvfb and written into a script; each picture the script run writes
# must equal a screenshot of the window at the same point, pixel for pixel, outside the
# bands where text stands (the fonts differ). A time plot of the measurement with two
# cursors, the same plot zoomed, and an FFT magnitude plot of the reference pulse.
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"
COMPARE="$E2E_DIR/plot_compare.py"

xdir=$(mktemp -d -p "$WORK") sdir=$(mktemp -d -p "$WORK")
for d in "$xdir" "$sdir"; do
  cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt} "$d"  # 1000x800 window
done

# The script run first: its pictures are what the window must show.
cat > "$sdir/run.script" <<'SCRIPT'
T
R
1
reference_pulse.txt
2
measured.txt
Q
P
2
C
# cursor 1 from point 1 two steps of 100 right, to 201; cursor 2 from 4096 one step of
# 1000 and three of 10 left, to 3066
A
A
>
>
T
A
<
B
B
<
<
<
Q
Q
Q
F
1
A
1
Q
Q
Q
SCRIPT
(cd "$sdir" && env -u DISPLAY "$REFX_BIN" --script run.script --plots . >transcript 2>err) ||
  fail "script run: status $?, $(cat "$sdir/err")"
for n in 1 2 3; do
  grep -qx "Plot picture written to ./plot-00$n.png" "$sdir/transcript" || fail "picture $n not named"
done

# Polls screenshots of the window until one agrees with picture $1 ($2 says which).
screen_equals() {
  local deadline=$((SECONDS + E2E_TIMEOUT)) result
  while :; do
    xwd -id "$WID" -nobdrs -silent | convert xwd:- "$WORK/shot.png"
    result=$("$COMPARE" "$WORK/shot.png" "$1" 1000 800) && break
    [ "$SECONDS" -lt "$deadline" ] || { cp "$WORK/shot.png" "${TMPDIR:-/tmp}/script_plot_failed.png"
      fail "$2: $result (screenshot ${TMPDIR:-/tmp}/script_plot_failed.png)"; }
  done
  echo "$2: $result"
}
type_ahead() { for t; do [ "${t#-}" = "$t" ] && send_text "$t" || send_line "${t#-}"; done; }
opened() { poll "the plot window" window_open && xdotool mousemove 500 400; }

start_xvfb
REFX_COMMAND="DISPLAY='$DISPLAY' '$REFX_BIN'"
start_refx "$xdir"
type_ahead tr1 -reference_pulse.txt 2 -measured.txt qp -2
opened
xdotool key c a a KP_Right KP_Right t a KP_Left b b KP_Left KP_Left KP_Left
screen_equals "$sdir/plot-001.png" "time plot with cursors"
xdotool key q
screen_equals "$sdir/plot-002.png" "zoomed time plot"
close_window
type_ahead qf1a -1
opened
screen_equals "$sdir/plot-003.png" "FFT magnitude plot"
close_window
type_ahead qq
expect_status 0
pass
