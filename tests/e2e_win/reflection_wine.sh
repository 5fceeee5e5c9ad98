#!/usr/bin/env bash
# The typical reflection removal run of refx_win.exe under wine on the example data: the
# direct arrival alone comes out, as examples/direct_arrival.txt holds it.
source "$(dirname "$0")/wine_lib.sh" "$1"
dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_win.in,reference_pulse.txt,measured.txt} "$dir"

start_refx "$dir"
key T "$TIME_MENU"
read_wave 1 reference_pulse.txt
read_wave 2 measured.txt
key L "G to generate compression filter"
send_text G
# Text that is no number is refused once, and the entry waits for a new line.
answer abc "Enter waveform number to generate filter (1 or 2):"
answer 1 "Error - enter again:"
wait_for_text "Compression filter has been generated"
send_text x
send_text C
answer 2 "Enter waveform to compress (1 or 2):"
answer 1 "Enter destination for compressed waveform (1 or 2):"
wait_for_text "Waveform 2 was compressed to waveform 1"
send_text x
wait_for_last_line "$MENU_END"
send_text I
answer 101 "Enter first point of interval (starting at 1):"
answer 301 "Enter last point of interval (starting at 1):"
key D "Enter waveform to de-compress (1 or 2):"
send_line 1
answer 2 "Enter destination for de-compressed waveform (1 or 2):"
wait_for_text "Waveform 1 was de-compressed to waveform 2"
send_text x
key Q "$TIME_MENU"
save_wave 2 result.txt
key Q "Q to quit program"
send_text Q
expect_status 0

points_of "$EXAMPLES_DIR/direct_arrival.txt" > "$WORK/expected"
points_of "$dir/result.txt" > "$WORK/result"
same_points "$WORK/expected" "$WORK/result" 1e-9
pass
