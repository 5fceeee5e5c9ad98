#!/usr/bin/env bash
# refx_lin's plot viewer in a real X11 window under a private Xvfb: the time menu plots a
# square wave, keys typed into the window move cursors, zoom and truncate, and every step is
# checked on a screenshot by counting lit pixels; then one FFT amplitude plot. (Without a
# display: plot_close_x11_e2e.sh.)
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
# Types keys and lines in turn ("-" before a line), ahead: the program reads the terminal in order.
type_ahead() { for t; do [ "${t#-}" = "$t" ] && send_text "$t" || send_line "${t#-}"; done; }
opened() { poll "the plot window" window_open && xdotool mousemove 500 400; }

start_xvfb
REFX_COMMAND="DISPLAY='$DISPLAY' '$REFX_BIN'"
start_refx "$dir"
# Vertical range -2..2: 150 pixels per unit, value v at row 400 - 150 v.
type_ahead ta -2 --2 r1 -square.txt 2 -cos.txt qp -1
opened

# The frame of a 1000x800 window: columns 125 and 875, rows 100 and 700.
FRAME="125 100 1 601 eq 601 left edge
875 100 1 601 eq 601 right edge
125 100 751 1 eq 751 top edge
125 700 751 1 eq 751 bottom edge"
# Axis 0..4 ms: sample k at column 125 + 0.1788 (k - 1); the drop 2048 -> 2049 at 491.
keys_then_screen "$FRAME
130 250 355 1 eq 355 +1 level
500 550 350 1 eq 350 -1 level
130 240 740 9 eq 0 nothing above +1
130 251 355 298 eq 0 nothing under +1
491 251 1 299 eq 299 the drop
860 101 15 599 eq 0 nothing after sample 4096"

# C; A A A (step 1000), right: cursor 1 at 1001 (column 304); T selects cursor 2, two
# steps left put it at 2096 (column 500), solid, and its old column 857 is put back.
keys_then_screen "$FRAME
500 100 1 601 eq 601 cursor 2 solid
304 100 1 601 ge 150 cursor 1 dotted
304 100 1 601 lt 400 cursor 1 not solid
857 101 1 449 eq 0 old cursor 2 column
0 64 1000 10 ge 100 read-outs above the frame" c a a a KP_Right t KP_Left KP_Left

# Q zooms to samples 1001..2096: axis 0.954..2.154 ms, 0.596 pixels a sample, so the drop
# moves to columns 749/750 and the trace ends at 778.
keys_then_screen "$FRAME
130 250 615 1 eq 615 +1 level
755 550 20 1 eq 20 -1 level
749 251 2 299 ge 299 the drop
782 101 92 599 eq 0 nothing after sample 2096
304 101 1 140 eq 0 no cursor 1
0 64 1000 10 eq 0 no read-outs" q

# T: the marker starts at i_max 2096 (lowered from 4096); A A, five times left: 1596
# (column 480); Q: samples after it are drawn at zero (row 400), and no marker stays.
keys_then_screen "$FRAME
130 250 345 1 eq 345 values up to 1596
486 400 285 1 eq 285 zero after 1596
486 250 385 1 eq 0 +1 gone after 1596
130 550 740 1 eq 0 -1 gone
480 251 1 149 eq 149 step to zero
480 410 1 280 eq 0 no marker" t a a KP_Left KP_Left KP_Left KP_Left KP_Left q

# Q closes the window; the time menu is back and knows waveform 1 is truncated.
close_window
wait_for_text "T to subtract ***truncated*** time waveforms"

# FFT of waveform 2, amplitude plot: axis 0..600 kHz, -30..10 dB; bin 200 (51.2 kHz) is a
# stick at column 189 from the bottom edge up to 0 dB (row 250).
type_ahead qf2a -2
opened
keys_then_screen "$FRAME
189 250 1 451 eq 451 stick at bin 200
189 240 1 10 eq 0 nothing above the stick
128 101 61 597 eq 0 no stick left of it (tics aside)
190 101 685 597 eq 0 no stick right of it"
close_window
type_ahead qq
expect_status 0
pass
