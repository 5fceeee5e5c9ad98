#!/usr/bin/env bash
# Inputs that once made refx_lin run for ever now return to a menu: phase plots of a huge
# stored phase and of a huge delay (tau), reads of /dev/zero, a FIFO and a folder, an
# interval whose first point is the last point, and a digital low-pass filter of order 1e12.
# Every wait is for the next screen's text (or the plot window to close), with the usual
# generous timeout; none measures time.
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt} "$dir"  # 4096 points, bins 256 Hz apart
mkfifo "$dir/pipe"
mkdir "$dir/sub"
awk 'BEGIN { print "huge phases\nx"; for (k = 0; k < 4096; k++) printf "%d 0 1e30\n", 256 * k
  print "y" }' > "$dir/bigphase.txt"

press() { send_text "$1"; wait_for_text "$2"; [ -z "${3:-}" ] || send_line "$3"; }
answer() { wait_for_text "$1"; send_line "$2"; }
# Plots FFT 1's phase and closes the window with Q typed into it: a plot that never finished
# drawing would never take the key.
phase_plot() {
  press h "Select FFT 1 or 2:" 1
  poll "the plot window" window_open
  xdotool mousemove 500 400
  close_window
}

start_xvfb
REFX_COMMAND="DISPLAY='$DISPLAY' '$REFX_BIN'"
start_refx "$dir"
wait_for_text "Q to quit program"

# A stored phase of 1e30 degrees, then the largest delay the menu takes, 900 s (infinity is
# refused and the old value kept).
press f "N to calculate inverse FFT and place result in time waveform"
press r "Enter 1 or 2 for FFT:" 1
answer "Enter file name for FFT 1, or Q to quit:" bigphase.txt
phase_plot
press g "Enter tau in seconds:" inf
wait_for_text "the previous value was kept"
wait_for_text "Press any A/N key to continue"
send_text k
press g "Enter tau in seconds:" 900
wait_for_text "G to set tau for phase plot (9.000000e+02)"
phase_plot

# Reads of what is not a regular file are refused at once; a real file then reads.
press q "Q to quit program"
press tr "B to read both time waveforms from disk"
press 1 "Enter file name for time waveform 1, or Q to quit:" /dev/zero
answer "Error opening file /dev/zero;" pipe
answer "Error opening file pipe;" sub
answer "Error opening file sub;" reference_pulse.txt
press q "L to remove reflections using a compression filter"

# The interval: first point 4096 leaves no last point and is refused.
press lg "Enter waveform number to generate filter (1 or 2):" 1
wait_for_text "Compression filter has been generated"
press k "I to setup waveform interval for decompression"
press i "Enter first point of interval (starting at 1):" 4096
answer "Error - enter again:" 100
answer "Enter last point of interval (starting at 1):" 4096
wait_for_text "I to setup waveform interval for decompression (100,4096)"

# A digital low-pass filter (minimum phase, the type at start) of order 1e12 is refused; the
# largest order allowed applies.
press l "Enter order of lpf (positive integer):" 1000000000000
wait_for_text "Error - digital filters only available for orders up to 16384"
send_text k
send_line 16384
answer "Enter cutoff frequency f0:" 100000
wait_for_text "P to set parameters of optional low-pass filter (order=16384, f0=1.000000e+05)"
press a "Enter waveform to apply lpf (1 or 2):" 1
answer "Enter destination for waveform after applying lpf (1 or 2):" 2
# The minimum phase response of so steep a filter floors its log magnitude: a warning first.
wait_for_text "Warning - log magnitude was limited"
send_text k
wait_for_text "lpf was applied to waveform 1 and result stored in waveform 2"
press k "P to set parameters of optional low-pass filter (order=16384"
send_text qqq
expect_status 0
pass
