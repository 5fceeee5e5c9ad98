#!/usr/bin/env bash
# refx_lin's FFT menu end to end: read a spectrum, inverse-transform it into waveform 1,
# transform that back and save the slot; neither transform divides by N.
source "$(dirname "$0")/lib.sh" "$1"

# 16 points at 1024 samples/s: bins 64 Hz apart.
dir=$(config_dir $'1024\n16\n640\n480\n')
# A real waveform's spectrum: bins k and 16-k have -k dB and +-10k degrees.
awk 'BEGIN { print "spectrum"; print "x";
  for (k = 0; k < 16; k++) { j = k <= 8 ? k : 16 - k;
    printf "%.10e %.10e %.10e\n", k * 64, -j, k == 8 ? 180 : (k < 8 ? 10 * k : -10 * j) }
  print "y" }' > "$dir/in.txt"

start_refx "$dir"
wait_for_text "F for FFT menu"
send_text f
wait_for_text "Enter Command :"
for step in "r|Enter 1 or 2 for FFT:|1" "|Enter file name for FFT 1, or Q to quit:|in.txt" \
            "n|Enter source FFT (1 or 2):|1" "|Enter destination time waveform (1 or 2):|1" \
            "1s|Enter 1 or 2 for FFT:|1" "|Enter file name for FFT 1:|saved.txt" \
            "|Enter single line of comments:|round trip"; do
  IFS='|' read -r keys prompt line <<< "$step"
  [ -z "$keys" ] || send_text "$keys"
  wait_for_text "$prompt"
  send_line "$line"
done
send_text q
wait_for_text "T for time waveforms menu"
send_text q
expect_status 0

out="$dir/saved.txt"
[ "$(sed -n '1p;2p;19p' "$out" | tr '\n' '|')" = "round trip|x|y|" ] || fail "comment or markers differ"
value='-?[0-9]\.[0-9]{10}e[-+][0-9]{2,}'
[ "$(sed -n '3,18p' "$out" | grep -Ec "^$value $value $value\$")" -eq 16 ] || fail "record format"
# Every magnitude rises by 20 log10(16) dB; frequencies and phases (mod 360) stay.
paste -d' ' <(sed -n '3,18p' "$dir/in.txt") <(sed -n '3,18p' "$out") | awk '
  { d = $6 - $3; while (d > 180) d -= 360; while (d <= -180) d += 360
    if ($1 != $4 || ($5 - $2 - 24.0823996531) ^ 2 > 1e-12 || d ^ 2 > 1e-12) { print; bad = 1 } }
  END { exit bad }' || fail "saved values differ"
pass
