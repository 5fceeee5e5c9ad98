#!/usr/bin/env bash
# refx_win.exe under wine refuses numbers that are not finite, as refx_lin does: a waveform
# file holding "nan", an fmax typed as "inf" (asked again) and a compensation factor typed
# as "nan" (kept, and said so). The C runtime's conversions of these words are the point.
source "$(dirname "$0")/wine_lib.sh" "$1"
dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR/refx_win.in" "$dir"
awk -v f="$dir/bad.txt" 'BEGIN { print "bad\nx" > f
  for (k = 0; k < 4096; k++) printf "%.10e  %s\n", k / 1048576, (k == 7 ? "nan" : "0.5") > f
  print "y" > f }'

start_refx "$dir"
key T "$TIME_MENU"
key R "B to read both"
send_text 1
answer bad.txt "Enter file name for time waveform 1, or Q to quit:"
wait_for_text "Error - file bad.txt holds a value that is not a finite number; waveform 1 was not changed"
send_text x
key Q "$TIME_MENU"
key L "G to generate compression filter"
key E "Enter fmax for compression file generation:"
send_line inf
answer 100000 "Error - enter again:"
wait_for_text "(fmax = 1.000000e+05)"
key U "Enter phase compensation factor:"
send_line nan
wait_for_text "Error - value must be a finite number between -10000 and 10000; the previous value was kept"
send_text x
key U "Enter phase compensation factor:"
send_line 2.5
wait_for_text "U to set phase slope compensation factor (2.500000e+00)"
key Q "$TIME_MENU"
key Q "Q to quit program"
send_text Q
expect_status 0
pass
