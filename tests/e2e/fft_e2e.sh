#!/usr/bin/env bash
# refx_lin's FFT menu end to end: read a spectrum from a text file, inverse-transform it into
# waveform 1, transform waveform 1 back, save the slot, and check the saved file; then a
# short file with the fill answer 1.
source "$(dirname "$0")/lib.sh" "$1"

# 16 points at 1024 samples/s: bins 64 Hz apart.
dir=$(config_dir $'1024\n16\n640\n480\n')

# A conjugate-symmetric spectrum (a real waveform): bin k and 16-k have -k dB and +-10k
# degrees; DC has phase 0, the Nyquist bin 180.
awk 'BEGIN {
  print "spectrum for the e2e test"; print "x";
  for (k = 0; k < 16; k++) {
    j = k <= 8 ? k : 16 - k;
    ph = (k == 0) ? 0 : (k == 8 ? 180 : (k < 8 ? 10 * k : -10 * j));
    printf "%.10e %.10e %.10e\n", k * 64, -j, ph;
  }
  print "y" }' > "$dir/in.txt"
# A file of 10 records only.
head -12 "$dir/in.txt" > "$dir/short.txt"

start_refx "$dir"
wait_for_text "F for FFT menu"
send_text f
wait_for_text "N to calculate inverse FFT and place result in time waveform"

send_text r
wait_for_text "Enter 1 or 2 for FFT:"
send_line 1
wait_for_text "Enter file name for FFT 1, or Q to quit:"
send_line in.txt

send_text n
wait_for_text "Enter source FFT (1 or 2):"
send_line 1
wait_for_text "Enter destination time waveform (1 or 2):"
send_line 1

send_text 1
send_text s
wait_for_text "Enter 1 or 2 for FFT:"
send_line 1
wait_for_text "Enter file name for FFT 1:"
send_line saved.txt
wait_for_text "Enter single line of comments:"
send_line "round trip through waveform 1"

# The short file into slot 2, filled, and saved: only its 10 records are written.
send_text R
wait_for_text "Enter 1 or 2 for FFT:"
send_line 2
wait_for_text "Enter file name for FFT 2, or Q to quit:"
send_line short.txt
wait_for_text "Warning: number of points in wf 2 less than num_meas_points;"
wait_for_text "Fill remaining values with small value? 1=Y, 0=N:"
send_line 1
send_text S
wait_for_text "Enter 1 or 2 for FFT:"
send_line 2
wait_for_text "Enter file name for FFT 2:"
send_line short_saved.txt
wait_for_text "Enter single line of comments:"
send_line short

send_text q
wait_for_text "T for time waveforms menu"
send_text q
expect_status 0

out="$dir/saved.txt"
[ "$(wc -l < "$out")" -eq 19 ] || fail "saved file has $(wc -l < "$out") lines, expected 19"
[ "$(sed -n 1p "$out")" = "round trip through waveform 1" ] || fail "comment line differs"
[ "$(sed -n 2p "$out")" = "x" ] || fail "second line is not x"
[ "$(sed -n 19p "$out")" = "y" ] || fail "last line is not y"
value='-?[0-9]\.[0-9]{10}e[-+][0-9]{2,}'
bad_lines=$(sed -n '3,18p' "$out" | grep -Evc "^$value $value $value\$" || true)
[ "$bad_lines" -eq 0 ] || fail "$bad_lines data lines are not in the 10-digit exponent form"
# Neither transform divides by N: every magnitude rises by 20 log10(16) dB, phases stay.
awk -v gain="$(awk 'BEGIN { printf "%.12f", 20 * log(16) / log(10) }')" '
  NR < 3 || $1 == "y" { next }
  {
    k = NR - 3; j = k <= 8 ? k : 16 - k;
    ph = (k == 0) ? 0 : (k == 8 ? 180 : (k < 8 ? 10 * k : -10 * j));
    if ($1 != k * 64) { print "frequency " $1 " at bin " k; bad = 1 }
    if ((d = $2 - (gain - j)) > 1e-6 || d < -1e-6) { print "magnitude " $2 " at bin " k; bad = 1 }
    d = $3 - ph; while (d > 180) d -= 360; while (d <= -180) d += 360;
    if (d > 1e-6 || d < -1e-6) { print "phase " $3 " at bin " k; bad = 1 }
  }
  END { exit bad }' "$out" || fail "saved values differ"

short="$dir/short_saved.txt"
[ "$(wc -l < "$short")" -eq 13 ] || fail "short save has $(wc -l < "$short") lines, expected 13"
cmp -s <(sed -n '3,12p' "$short") <(sed -n '3,12p' "$dir/in.txt") || fail "short save changed the records"

pass
