#!/usr/bin/env bash
# refx_lin's plot viewer in a real X11 window under a private Xvfb: the time menu plots a
# square wave, keys typed into the window move cursors, zoom and truncate, and every step is
# checked on a screenshot by counting lit pixels; then one FFT amplitude plot. Without a
# display, P ends the program with "Can't connect to server" and status 1.
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"

dir=$(config_dir "$(cat "$EXAMPLES_DIR/refx_lin.in")")  # 4096 points, 1000x800 window
# Waveform 1: +1 for samples 1..2048, -1 after. Waveform 2: a cosine of 1/2048 amplitude in
# bin 200, whose spectrum is 0 dB there and nothing elsewhere.
awk -v sq="$dir/square.txt" -v cs="$dir/cos.txt" 'BEGIN { pi = atan2(0, -1)
  print "square\nx" > sq; print "cosine\nx" > cs
  for (k = 0; k < 4096; k++) {
    printf "%.10e  %.17e\n", k / 1048576, (k < 2048 ? 1 : -1) > sq
    printf "%.10e  %.17e\n", k / 1048576, cos(2 * pi * 200 * k / 4096) / 2048 > cs }
  print "y" > sq; print "y" > cs }'

REFX_COMMAND="env -u DISPLAY '$REFX_BIN' 2>'$WORK/err'"
start_refx "$dir"
send_text tp  # typed ahead: the program reads the terminal in order
send_line 1
expect_status 1
grep -q "^Can't connect to server: " "$WORK/err" || fail "without a display: $(cat "$WORK/err")"

start_xvfb
REFX_COMMAND="DISPLAY='$DISPLAY' '$REFX_BIN'"
start_refx "$dir"
send_text ta  # vertical range -2..2: 150 pixels per unit, value v at row 400 - 150 v
wait_for_text "Enter maximum vertical scale value:"
send_line 2
send_line -2
send_text r1
send_line square.txt
send_text 2
wait_for_text "Enter file name for time waveform 2, or Q to quit:"
send_line cos.txt
send_text qp
send_line 1
wait_for_window

# The frame of a 1000x800 window: columns 125 and 875, rows 100 and 700.
FRAME="125 100 1 601 eq 601 left edge
875 100 1 601 eq 601 right edge
125 100 751 1 eq 751 top edge
125 700 751 1 eq 751 bottom edge"
# Axis 0..4 ms: sample k at column 125 + 0.1788 (k - 1); the drop 2048 -> 2049 at 491.
wait_for_screen full "$FRAME
130 250 355 1 eq 355 +1 level
500 550 350 1 eq 350 -1 level
130 240 740 9 eq 0 nothing above +1
130 251 355 298 eq 0 nothing under +1
491 251 1 299 eq 299 the drop
860 101 15 599 eq 0 nothing after sample 4096"

# C; A A A (step 1000), right: cursor 1 at 1001 (column 304); T selects cursor 2, two
# steps left put it at 2096 (column 500), solid, and its old column 857 is put back.
xdotool key c a a a KP_Right t KP_Left KP_Left
wait_for_screen cursors "$FRAME
500 100 1 601 eq 601 cursor 2 solid
304 100 1 601 ge 150 cursor 1 dotted
304 100 1 601 lt 400 cursor 1 not solid
857 101 1 449 eq 0 old cursor 2 column
0 64 1000 10 ge 100 read-outs above the frame"

# Q zooms to samples 1001..2096: axis 0.954..2.154 ms, 0.596 pixels a sample, so the drop
# moves to columns 749/750 and the trace ends at 778.
xdotool key q
wait_for_screen zoomed "$FRAME
130 250 615 1 eq 615 +1 level
755 550 20 1 eq 20 -1 level
749 251 2 299 ge 299 the drop
782 101 92 599 eq 0 nothing after sample 2096
304 101 1 140 eq 0 no cursor 1
0 64 1000 10 eq 0 no read-outs"

# T: the marker starts at i_max 2096 (lowered from 4096); A A, five times left: 1596,
# column 480; its old column 778 is put back.
xdotool key t a a KP_Left KP_Left KP_Left KP_Left KP_Left
wait_for_screen marker "480 100 1 601 eq 601 marker
778 101 1 449 eq 0 old marker column
0 64 500 10 ge 50 read-out 1"

# Q: samples after 1596 are drawn at zero (row 400).
xdotool key q
wait_for_screen truncated "$FRAME
130 250 345 1 eq 345 values up to 1596
486 400 285 1 eq 285 zero after 1596
486 250 385 1 eq 0 +1 gone after 1596
130 550 740 1 eq 0 -1 gone
480 251 1 149 eq 149 step to zero
480 410 1 280 eq 0 no marker"

# Q closes the window; the time menu is back and knows waveform 1 is truncated.
xdotool key q
wait_for_no_window
wait_for_text "T to subtract ***truncated*** time waveforms"

# FFT of waveform 2, amplitude plot: axis 0..600 kHz, -30..10 dB; bin 200 (51.2 kHz) is a
# stick at column 189 from the bottom edge up to 0 dB (row 250).
send_text qf2a
wait_for_text "Select FFT 1 or 2:"
send_line 2
wait_for_window
wait_for_screen amplitude "$FRAME
189 250 1 451 eq 451 stick at bin 200
189 240 1 10 eq 0 nothing above the stick
128 101 61 597 eq 0 no stick left of it (tics aside)
190 101 685 597 eq 0 no stick right of it"
xdotool key q
wait_for_no_window
send_text qq
expect_status 0
pass
