#!/usr/bin/env bash
# One set of numbers: the same reflection removal run in refx_lin ($2) and in refx_win.exe ($1)
# under wine, binary mode, gives the same bits in every saved value: the FFT and the amplitude
# ratio of the FFT menu, the plain, fmax and minimum-phase filters, the compressed waveform,
# the de-compressed interval and that through a Butterworth low-pass. Binary records differ in
# width (12 and 10 bytes), so the decoded 80-bit values are compared; text files are compared
# after their line ends are made alike.
# Usage: same_results_wine.sh path/to/refx_win.exe path/to/refx_lin
source "$(dirname "$0")/wine_lib.sh" "$1"
WIN_COMMAND=$REFX_COMMAND
LIN_COMMAND="'$(readlink -f "$2")'"

# Types the key $1, waits for the text $2 and, given $3, answers it with that line.
press() { send_text "$1"; wait_for_text "$2"; [ -z "${3:-}" ] || send_line "$3"; }
# Waits for the message $1 and its pause, takes any warning pauses before it, goes on.
acknowledge() {
  wait_for_text "$1"
  wait_for_text "Press any A/N key to continue"
  send_text k
  wait_for_last_line "$MENU_END"
}
L_MENU="L to toggle optional low-pass filter"
save_wave() {  # from the time waveforms menu: waveform $1 to file $2
  press S "B to save both"
  press "$1" "Enter file name for time waveform $1:" "$2"
  answer run "Enter single line of comments:"
  wait_for_last_line "$MENU_END"
  press Q "$TIME_MENU"
}
save_fft() {  # from the FFT menu: slot $1 to file $2
  press S "Enter 1 or 2 for FFT:" "$1"
  answer "$2" "Enter file name for FFT $1:"
  answer run "Enter single line of comments:"
  wait_for_last_line "$MENU_END"
}
save_filter() {  # from the reflection removal menu
  press S "Enter file name to save compression filter:" "$1"
  answer run "Enter single line of comments:"
  acknowledge "Filter was successfully saved"
}
generate() {
  press G "Enter waveform number to generate filter (1 or 2):" 1
  acknowledge "Compression filter has been generated"
}

# The whole run in directory $1 with the program started by $2, configuration file $3.
session() {
  local dir=$1
  REFX_COMMAND=$2 REFX_CONFIG_NAME=$3
  cp "$EXAMPLES_DIR/$3" "$EXAMPLES_DIR/reference_pulse.txt" "$EXAMPLES_DIR/measured.txt" "$dir"
  start_refx "$dir"
  key T "$TIME_MENU"
  read_wave 1 reference_pulse.txt
  read_wave 2 measured.txt
  key Q "(ascii-magph selected)"
  key B "(binary-ri selected)"

  key F "D to form amplitude ratio"
  send_text B
  save_fft 1 fft1.bin
  send_text D
  save_fft 1 ratio.bin
  key Q "(binary-ri selected)"

  key T "$TIME_MENU"
  key L "$L_MENU"
  generate
  save_filter plain.bin
  press E "Enter fmax for compression file generation:" 200000
  wait_for_text "N to set fmax for compression filter generation"
  generate
  save_filter fmax.bin
  key E "E to toggle fmax for compression filter generation (disabled)"
  key H "H to toggle compression filter minimum phase option (enabled)"
  generate
  save_filter minp.bin
  press C "Enter waveform to compress (1 or 2):" 2
  answer 1 "Enter destination for compressed waveform (1 or 2):"
  acknowledge "Waveform 2 was compressed to waveform 1"
  press I "Enter first point of interval (starting at 1):" 101
  answer 301 "Enter last point of interval (starting at 1):"
  press D "Enter waveform to de-compress (1 or 2):" 1
  answer 2 "Enter destination for de-compressed waveform (1 or 2):"
  acknowledge "Waveform 1 was de-compressed to waveform 2"
  key Q "$TIME_MENU"
  save_wave 1 compressed.bin
  save_wave 2 decompressed.bin

  key L "$L_MENU"
  press L "Enter order of lpf (positive integer):" 10
  answer 150000 "Enter cutoff frequency f0:"
  key Y "Y to toggle type of optional low-pass filter (digital)"
  key Y "Y to toggle type of optional low-pass filter (Butterworth)"
  press A "Enter waveform to apply lpf (1 or 2):" 2
  answer 1 "Enter destination for waveform after applying lpf (1 or 2):"
  acknowledge "lpf was applied to waveform 2 and result stored in waveform 1"
  key Q "$TIME_MENU"
  save_wave 1 butterworth.bin

  key Q "(binary-ri selected)"
  key B "(ascii-magph selected)"
  key T "$TIME_MENU"
  save_wave 1 butterworth.txt
  save_wave 2 decompressed.txt
  key L "$L_MENU"
  save_filter minp.txt
  key Q "$TIME_MENU"
  key Q "(ascii-magph selected)"
  key F "D to form amplitude ratio"
  save_fft 1 ratio.txt
  key Q "(ascii-magph selected)"
  send_text Q
  expect_status 0
}

lin=$(mktemp -d -p "$WORK")
win=$(mktemp -d -p "$WORK")
session "$lin" "$LIN_COMMAND" refx_lin.in
session "$win" "$WIN_COMMAND" refx_win.in

python3 - "$lin" "$win" <<'PY' || fail "the two programs saved different values"
import sys
lin, win = sys.argv[1], sys.argv[2]
ok = True
def values(path, width):
    raw = open(path, "rb").read()[256:]
    assert len(raw) % width == 0 and raw, path
    return [raw[i:i + 10] for i in range(0, len(raw), width)]
for name in ("fft1.bin", "ratio.bin", "plain.bin", "fmax.bin", "minp.bin", "compressed.bin",
             "decompressed.bin", "butterworth.bin"):
    a, b = values(f"{lin}/{name}", 12), values(f"{win}/{name}", 10)
    diff = sum(x != y for x, y in zip(a, b)) + abs(len(a) - len(b))
    print(f"{name}: {len(a)} values, {diff} differ")
    ok &= diff == 0
for name in ("butterworth.txt", "decompressed.txt", "minp.txt", "ratio.txt"):
    a = open(f"{lin}/{name}", "rb").read().replace(b"\r\n", b"\n")
    b = open(f"{win}/{name}", "rb").read().replace(b"\r\n", b"\n")
    print(f"{name}: {len(a.splitlines())} lines, {'same' if a == b else 'DIFFERENT'}")
    ok &= a == b
sys.exit(0 if ok else 1)
PY
pass
