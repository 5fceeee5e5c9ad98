#!/usr/bin/env bash
# refx_lin's time waveforms menu: read a waveform, shift and scale it, save it as text and,
# after B at the main menu, as binary; the saved files are checked byte by byte and value
# by value, and the binary one is read back through the program.
source "$(dirname "$0")/lib.sh" "$1"

# Waits until the literal text $1 is gone from the screen (a prompt answered, a menu redrawn).
wait_for_no_text() {
  local text=$1 deadline=$((SECONDS + E2E_TIMEOUT))
  while screen_text | grep -qF -- "$text"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for the screen to lose: $text"
    sleep 0.05
  done
}

no_warning() { ! screen_text | grep -qF "Warning" || fail "unexpected warning"; }

dir=$(config_dir "$(cat "$EXAMPLES_DIR/refx_lin.in")")
# 4096 points at 1048576 samples/s, as the program itself would print them.
python3 - "$dir/in.txt" <<'PY'
import math, sys
with open(sys.argv[1], "w") as f:
    f.write("test input\nx\n")
    for k in range(4096):
        v = 3.0 * math.sin(0.01 * k) + 1e-3 * k - 1.25
        f.write("%18.10e  %18.10e\n" % (k / 1048576.0, v))
    f.write("y\n")
PY

start_refx "$dir"
wait_for_text "Q to quit program"
send_text t
wait_for_text "C to scale time waveforms (1.000000e+00,1.000000e+00)"

# R, 1: read the input into waveform 1; no warning, back at the read menu.
send_text r
wait_for_text "B to read both time waveforms from disk"
send_text 1
wait_for_text "Enter file name for time waveform 1, or Q to quit:"
send_line in.txt
wait_for_no_text "Enter file name for time waveform 1"
wait_for_text "B to read both time waveforms from disk"
no_warning
send_text q
wait_for_text "I to shift time waveforms (0,0)"

# I: shift waveform 1 to 5; C: scale it by 2.5.
send_text i
wait_for_text "Enter waveform number to be shifted, 1 or 2:"
send_line 1
wait_for_text "Enter shift value (integer - positive to the right):"
send_line 5
wait_for_text "Waveform 1 has been shifted to 5"
wait_for_text "Press any A/N key to continue"
send_text k
wait_for_text "I to shift time waveforms (5,0)"
send_text c
wait_for_text "Enter waveform number to be scaled, 1 or 2:"
send_line 1
wait_for_text "Enter scale factor for waveform 1:"
send_line 2.5
wait_for_text "C to scale time waveforms (2.500000e+00,1.000000e+00)"

# S, 1: save as ascii-magph.
send_text s
wait_for_text "B to save both time waveforms to disk"
send_text 1
wait_for_text "Enter file name for time waveform 1:"
send_line out.txt
wait_for_text "Enter single line of comments:"
send_line "e2e ascii"
wait_for_no_text "Enter single line of comments:"
wait_for_text "B to save both time waveforms to disk"
send_text q
wait_for_text "Q to return to main menu"
send_text q
wait_for_text "(ascii-magph selected)"

# B: binary-ri; T, S, 1: save again.
send_text b
wait_for_text "(binary-ri selected)"
send_text t
wait_for_text "Q to return to main menu"
send_text s
wait_for_text "B to save both time waveforms to disk"
send_text 1
wait_for_text "Enter file name for time waveform 1:"
send_line out.bin
wait_for_text "Enter single line of comments:"
send_line "e2e binary"
wait_for_no_text "Enter single line of comments:"
wait_for_text "B to save both time waveforms to disk"
send_text q
wait_for_text "Q to return to main menu"

# R, 2: the binary file reads back into waveform 2 without any warning.
send_text r
wait_for_text "B to read both time waveforms from disk"
send_text 2
wait_for_text "Enter file name for time waveform 2, or Q to quit:"
send_line out.bin
wait_for_no_text "Enter file name for time waveform 2"
wait_for_text "B to read both time waveforms from disk"
no_warning
send_text q
wait_for_text "Q to return to main menu"
send_text q
wait_for_text "Q to quit program"
send_text q
expect_status 0

python3 - "$dir" <<'PY' || fail "saved files differ from the expected waveform"
import re, sys
from fractions import Fraction

d = sys.argv[1]
n, shift, scale = 4096, 5, 2.5
src = [float(l.split()[1]) for l in open(d + "/in.txt").read().splitlines()[2:-1]]
assert len(src) == n
expected = [scale * src[(k - shift) % n] for k in range(n)]
# The read took its interval from the first two printed times, and the saves use it.
interval = Fraction(open(d + "/in.txt").read().splitlines()[3].split()[0])

def close(a, b, rel):
    return abs(a - b) <= rel * abs(b)

lines = open(d + "/out.txt").read().split("\n")
assert lines[0] == "e2e ascii" and lines[1] == "x", lines[:2]
assert lines[-2:] == ["y", ""], lines[-2:]
points = lines[2:-2]
assert len(points) == n, len(points)
num = r"(?:  \d| -\d)\.\d{10}e[+-]\d\d"  # "%18.10Le"
pat = re.compile("^" + num + "  " + num + "$")
for k, line in enumerate(points):
    assert len(line) == 38 and pat.match(line), (k, line)
    t, v = (float(x) for x in line.split())
    assert close(t, float(k * interval), 1e-10), (k, line)
    assert close(v, expected[k], 1e-10), (k, v, expected[k])

raw = open(d + "/out.bin", "rb").read()
assert len(raw) == 256 + n * 24, len(raw)
assert raw[:256] == b"e2e binary" + bytes(246), raw[:16]

def x87(b):
    sig = int.from_bytes(b[:8], "little")
    se = int.from_bytes(b[8:10], "little")
    value = Fraction(sig) * Fraction(2) ** ((se & 0x7FFF) - 16383 - 63)
    return -value if se & 0x8000 else value

for k in range(n):
    rec = raw[256 + 24 * k: 256 + 24 * (k + 1)]
    assert rec[10:12] == b"\0\0" and rec[22:24] == b"\0\0", k
    assert abs(x87(rec[0:10]) - k * interval) <= k * interval / 2**62, k
    assert close(float(x87(rec[12:22])), expected[k], 1e-15), k
PY

pass
