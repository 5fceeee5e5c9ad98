#!/usr/bin/env bash
# A whole reflection removal run of refx_lin on the example data: read the reference pulse and
# the measurement, generate the filter, compress, and set the interval around the direct
# arrival; save the filter as text, read it back and de-compress everything but that interval;
# then in binary mode save and read the filter again and de-compress the interval itself. The
# saved waveforms are compared with what the example files predict.
source "$(dirname "$0")/lib.sh" "$1"

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt,direct_arrival.txt} "$dir"

# Types the key $1, waits for the text $2 and, given $3, answers it with that line.
press() { send_text "$1"; wait_for_text "$2"; [ -z "${3:-}" ] || send_line "$3"; }
answer() { wait_for_text "$1"; send_line "$2"; }
# Waits for the message $1 and the pause after it, checks that no warning came, goes on.
acknowledge() {
  wait_for_text "$1" && wait_for_text "Press any A/N key to continue"
  ! screen_text | grep -qE "Warning|Error" || fail "unexpected warning or error"; send_text k; }
L_MENU="L to remove reflections using a compression filter"
# De-compresses waveform 1 into waveform 2 and saves that as $1; ends in the time menu.
decompress_to() {
  press d "Enter waveform to de-compress (1 or 2):" 1
  answer "Enter destination for de-compressed waveform (1 or 2):" 2
  acknowledge "Waveform 1 was de-compressed to waveform 2"
  press qs "B to save both time waveforms to disk"
  press 2 "Enter file name for time waveform 2:" "$1"
  answer "Enter single line of comments:" "e2e $1"
  press q "$L_MENU"
}
# Saves the filter as $1 and reads it back; the R line then names the file and the G line
# no longer says the filter was generated here.
filter_round_trip() {
  press s "Enter file name to save compression filter:" "$1"
  answer "Enter single line of comments:" "e2e filter"
  acknowledge "Filter was successfully saved"
  press r "Enter file name containing compression filter, or Q to quit:" "$1"
  acknowledge "File was successfully read"
  wait_for_text "R to read compression filter from a file (read from $1)"
  screen_text | grep -qx "G to generate compression filter" || fail "G line still has a suffix"
}

start_refx "$dir"
press tr "B to read both time waveforms from disk"
press 1 "Enter file name for time waveform 1, or Q to quit:" reference_pulse.txt
press 2 "Enter file name for time waveform 2, or Q to quit:" measured.txt
press q "$L_MENU"
! screen_text | grep -q Warning || fail "warning while reading the example files"
press lg "Enter waveform number to generate filter (1 or 2):" 1
acknowledge "Compression filter has been generated"
wait_for_text "G to generate compression filter (internally generated)"
press c "Enter waveform to compress (1 or 2):" 2
answer "Enter destination for compressed waveform (1 or 2):" 1
acknowledge "Waveform 2 was compressed to waveform 1"
press i "Enter first point of interval (starting at 1):" 101
answer "Enter last point of interval (starting at 1):" 301
wait_for_text "I to setup waveform interval for decompression (101,301)"

# Everything but the direct arrival, through the filter read back from its text file.
filter_round_trip filter.txt
press t "T to toggle decompression interval type (exclusive)"
decompress_to reflections.txt
# Binary mode: the filter goes through a binary file, the direct arrival is saved in binary.
press qbtl "R to read compression filter from a file (read from filter.txt)"  # typed ahead
filter_round_trip filter.bin
press t "T to toggle decompression interval type (inclusive)"
decompress_to direct.bin
send_text qq
expect_status 0

python3 - "$dir" <<'PY' || fail "a saved waveform differs from the expected one"
import os, sys, fractions
d, n = sys.argv[1], 4096
def text_values(name):
    lines = open(f"{d}/{name}").read().splitlines()
    assert lines[1] == "x" and lines[-1] == "y" and len(lines) == n + 3, name
    return [float(l.split()[1]) for l in lines[2:-1]]
def x87(b):  # the 80-bit value that ends each 24-byte record
    sig, se = int.from_bytes(b[:8], "little"), int.from_bytes(b[8:10], "little")
    v = sig * fractions.Fraction(2) ** ((se & 0x7FFF) - 16446) if se & 0x7FFF else 0
    return float(-v if se & 0x8000 else v)
raw = open(f"{d}/direct.bin", "rb").read()
assert len(raw) == 256 + 24 * n and os.path.getsize(f"{d}/filter.bin") == 256 + 36 * n
direct = text_values("direct_arrival.txt")
rest = [m - a for m, a in zip(text_values("measured.txt"), direct)]
# Text files carry 11 significant digits; 1e-9 is far above their rounding and far below any
# lost or misplaced arrival (amplitudes 0.3 to 1) or a mean left in (6.5e-4). The binary result
# keeps every digit: it must meet the expected file to its last printed digit.
for name, got, want, tol, rel in (
        ("reflections.txt", text_values("reflections.txt"),
         [v - sum(rest) / n for v in rest], 1e-9, 0),
        ("direct.bin", [x87(raw[256 + 24 * k + 12:]) for k in range(n)], direct, 1e-14, 5.1e-11)):
    print(f"{name}: max |diff| {max(abs(a - b) for a, b in zip(got, want)):.3e}")
    assert all(abs(a - b) <= tol + rel * abs(b) for a, b in zip(got, want)), name
PY
pass
