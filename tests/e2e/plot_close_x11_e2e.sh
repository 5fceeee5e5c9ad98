#!/usr/bin/env bash
# refx_lin's plot window under a private Xvfb, as an operator without a keypad and with a
# window manager uses it: the main-block arrows move the cursors as the keypad arrows do, the
# other arrow, page and function keys do nothing, and a close request from the window manager
# ends the plot, not the program: the menu carries on with its data, and keys typed into the
# terminal while the plot was open are dropped. Without a display, P says so on the console
# and the menu carries on.
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"
CLOSE_REQUEST=$3

dir=$(config_dir "$(cat "$EXAMPLES_DIR/refx_lin.in")")  # 4096 points, 1000x800 window
# +1 for samples 1..2048, -1 after.
awk -v sq="$dir/square.txt" 'BEGIN { print "square\nx" > sq
  for (k = 0; k < 4096; k++) printf "%.10e  %.17e\n", k / 1048576, (k < 2048 ? 1 : -1) > sq
  print "y" > sq }'
type_ahead() { for t; do [ "${t#-}" = "$t" ] && send_text "$t" || send_line "${t#-}"; done; }
opened() { poll "the plot window" window_open && xdotool mousemove 500 400; }
TIME="L to remove reflections using a compression filter"

# No display: the message on the console, a pause, and the time menu again with waveform 1.
REFX_COMMAND="env -u DISPLAY '$REFX_BIN'"
start_refx "$dir"
type_ahead tr1 -square.txt qp -1
wait_for_text "Can't connect to server"
wait_for_text "Press any A/N key to continue"
send_text k
wait_for_text "$TIME"
type_ahead s1 -saved.txt -kept
wait_for_file "$dir/saved.txt" 100000
type_ahead qqq
expect_status 0
values() { awk 'NR > 2 && NF == 2 { print $2 + 0 }' "$1"; }
cmp <(values "$dir/square.txt") <(values "$dir/saved.txt") || fail "waveform 1 was not kept"

start_xvfb
REFX_COMMAND="DISPLAY='$DISPLAY' '$REFX_BIN'"
start_refx "$dir"
# Vertical range -2..2: 150 pixels per unit, value v at row 400 - 150 v.
type_ahead ta -2 --2 r1 -square.txt qp -1
opened

FRAME="125 100 1 601 eq 601 left edge
875 100 1 601 eq 601 right edge
125 700 751 1 eq 751 bottom edge"
# C; A A A (step 1000), Right: cursor 1 at 1001 (column 304); T selects cursor 2, Left
# twice puts it at 2096 (column 500), solid.
CURSORS="$FRAME
500 100 1 601 eq 601 cursor 2 solid
304 100 1 601 ge 150 cursor 1 dotted
304 100 1 601 lt 400 cursor 1 not solid
857 101 1 449 eq 0 old cursor 2 column"
keys_then_screen "$FRAME"  # drawn: the window takes keys
keys_then_screen "$CURSORS" c a a a Right t Left Left
# Up and Down (whose codes once were R and T: T would make cursor 1 the solid one), Home,
# End, the page keys, Insert and function keys change nothing; then the keypad's Right and
# the main block's Right each move cursor 2 by 1000 (to column 857).
xdotool key Up Down Home End Prior Next Insert F1 F2 F5 F12
keys_then_screen "$FRAME
857 100 1 601 eq 601 cursor 2 solid at 4096
304 100 1 601 ge 150 cursor 1 dotted
304 100 1 601 lt 400 cursor 1 still not solid
500 101 1 149 eq 0 old cursor 2 column" KP_Right Right
# Q zooms to samples 1001..4096.
xdotool key q

# Keys typed into the terminal meanwhile: here two Q's, which would leave the time menu and end
# the program. They wait in the terminal before the window is asked to close.
send_text qq
refx_pid() { pgrep -P "$(tm display -p -t refx '#{pane_pid}')" -x "$(basename "$REFX_BIN")"; }
typed_waiting() {
  python3 -c 'import fcntl, struct, sys, termios
with open(sys.argv[1], "rb", buffering=0) as f:
    sys.exit(struct.unpack("i", fcntl.ioctl(f, termios.FIONREAD, b"0000"))[0] < 2)' \
    "/proc/$(refx_pid)/fd/0"
}
poll "the keys typed into the terminal" typed_waiting
"$CLOSE_REQUEST" "$WID" || fail "close request not sent"
poll "the plot window to close" eval '! window_open'
wait_for_text "$TIME"

# The program carries on with its data: the same plot again, zoomed to 1001..4096 as left,
# the drop after sample 2048 at column 375.
type_ahead p -1
opened
keys_then_screen "$FRAME
130 250 240 1 eq 240 +1 level up to sample 2048
375 251 1 299 eq 299 the drop
380 550 480 1 eq 480 -1 level after it
380 250 490 1 eq 0 no +1 after the drop"
close_window
wait_for_text "$TIME"
type_ahead qq
expect_status 0
pass
