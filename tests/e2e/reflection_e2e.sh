#!/usr/bin/env bash
# A whole reflection removal run of refx_lin on the example data: read the reference pulse and
# the measurement, generate the filter, compress, keep the interval around the direct arrival
# and de-compress it; then keep everything but that interval, with the filter saved and read
# back as text; then, in binary mode, save and read the filter again and repeat the first
# de-compression. The saved waveforms are compared with what the example files predict.
source "$(dirname "$0")/lib.sh" "$1"

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt,direct_arrival.txt} "$dir"

# Types the key $1 and waits for the text $2.
press() { send_text "$1"; wait_for_text "$2"; }
# Waits for the prompt $1 and answers it with the line $2.
answer() { wait_for_text "$1"; send_line "$2"; }
# Waits for the message $1 and the pause after it, checks that no warning came, goes on.
acknowledge() {
  wait_for_text "$1"
  wait_for_text "Press any A/N key to continue"
  ! screen_text | grep -qE "Warning|Error" || fail "unexpected warning or error"
  send_text k
}
# Saves waveform 2 from the time waveforms menu as $1 and returns to that menu.
save_waveform_2() {
  press s "B to save both time waveforms to disk"
  press 2 "Enter file name for time waveform 2:"
  send_line "$1"
  answer "Enter single line of comments:" "e2e $1"
  press q "L to remove reflections using a compression filter"
}
# De-compresses waveform 1 into waveform 2.
decompress() {
  press d "Enter waveform to de-compress (1 or 2):"
  send_line 1
  answer "Enter destination for de-compressed waveform (1 or 2):" 2
  acknowledge "Waveform 1 was de-compressed to waveform 2"
}
# Saves the filter as $1 and reads it back; the R line then names the file and the G line
# no longer says the filter was generated here.
filter_round_trip() {
  press s "Enter file name to save compression filter:"
  send_line "$1"
  answer "Enter single line of comments:" "e2e filter"
  acknowledge "Filter was successfully saved"
  press r "Enter file name containing compression filter, or Q to quit:"
  send_line "$1"
  acknowledge "File was successfully read"
  wait_for_text "R to read compression filter from a file (read from $1)"
  screen_text | grep -qx "G to generate compression filter" || fail "G line still has a suffix"
}

start_refx "$dir"
press t "L to remove reflections using a compression filter"
press r "B to read both time waveforms from disk"
press 1 "Enter file name for time waveform 1, or Q to quit:"
send_line reference_pulse.txt
press 2 "Enter file name for time waveform 2, or Q to quit:"
send_line measured.txt
press q "L to remove reflections using a compression filter"
! screen_text | grep -q Warning || fail "warning while reading the example files"

press l "G to generate compression filter"
press g "Enter waveform number to generate filter (1 or 2):"
send_line 1
acknowledge "Compression filter has been generated"
press c "Enter waveform to compress (1 or 2):"
send_line 2
answer "Enter destination for compressed waveform (1 or 2):" 1
acknowledge "Waveform 2 was compressed to waveform 1"
press i "Enter first point of interval (starting at 1):"
send_line 101
answer "Enter last point of interval (starting at 1):" 301
wait_for_text "I to setup waveform interval for decompression (101,301)"
decompress
press q "L to remove reflections using a compression filter"
save_waveform_2 direct.txt

# Everything but the direct arrival, through the filter read back from its text file.
press l "G to generate compression filter (internally generated)"
filter_round_trip filter.txt
press t "T to toggle decompression interval type (exclusive)"
decompress
press q "L to remove reflections using a compression filter"
save_waveform_2 reflections.txt

# Binary mode: the filter goes through a binary file, the direct arrival is saved in binary.
press q "Q to quit program"
press b "(binary-ri selected)"
press t "L to remove reflections using a compression filter"
press l "R to read compression filter from a file (read from filter.txt)"
filter_round_trip filter.bin
press t "T to toggle decompression interval type (inclusive)"
decompress
press q "L to remove reflections using a compression filter"
save_waveform_2 direct.bin
press q "Q to quit program"
send_text q
expect_status 0

python3 - "$dir" <<'PY' || fail "a saved waveform differs from the expected one"
import sys
from fractions import Fraction
d, n = sys.argv[1], 4096

def text_values(name):
    lines = open(f"{d}/{name}").read().splitlines()
    assert lines[1] == "x" and lines[-1] == "y" and len(lines) == n + 3, name
    return [float(l.split()[1]) for l in lines[2:-1]]

def x87(b):
    sig, se = int.from_bytes(b[:8], "little"), int.from_bytes(b[8:10], "little")
    v = Fraction(sig) * Fraction(2) ** ((se & 0x7FFF) - 16383 - 63) if se & 0x7FFF else 0
    return float(-v if se & 0x8000 else v)

def binary_values(name, record):
    raw = open(f"{d}/{name}", "rb").read()
    assert len(raw) == 256 + n * record, (name, len(raw))
    return [x87(raw[256 + record * k + record - 12:]) for k in range(n)]

def check(name, got, want, tol, rel=0.0):
    # Each value within tol plus rel times its size.
    worst = max(abs(a - b) for a, b in zip(got, want))
    print(f"{name}: max |diff| {worst:.3e}")
    assert all(abs(a - b) <= tol + rel * abs(b) for a, b in zip(got, want)), name

direct = text_values("direct_arrival.txt")
rest = [m - a for m, a in zip(text_values("measured.txt"), direct)]
rest = [v - sum(rest) / n for v in rest]
assert len(binary_values("filter.bin", 36)) == n
# Text files carry 11 significant digits; 1e-9 is far above their rounding and far below
# any lost or misplaced arrival (amplitudes 0.3 to 1) or a mean left in (6.5e-4).
check("direct.txt", text_values("direct.txt"), direct, 1e-9)
check("reflections.txt", text_values("reflections.txt"), rest, 1e-9)
# The binary result keeps every digit: it must meet the expected file to its last printed digit.
check("direct.bin", binary_values("direct.bin", 24), direct, 1e-14, 5.1e-11)
PY

pass
