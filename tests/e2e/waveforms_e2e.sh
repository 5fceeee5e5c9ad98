#!/usr/bin/env bash
# refx_lin reads a text waveform, saves it as binary-ri (B at the main menu) and reads the
# binary file back without a warning; the file's bytes are checked against the text.
source "$(dirname "$0")/lib.sh" "$1"
# Key $1 at the time waveforms menu, slot 2's key $2, then file name $3 at prompt $4.
file_key() { send_text "$1"; wait_for_text "B to "; send_text "$2"; wait_for_text "$4"; send_line "$3"; }

dir=$(config_dir "$(cat "$EXAMPLES_DIR/refx_lin.in")")
python3 -c 'import math
print("in\nx\n" + "".join("%18.10e  %18.10e\n" % (k / 1048576, 3 * math.sin(0.01 * k) - 1.25) for k in range(4096)) + "y")' > "$dir/in.txt"
start_refx "$dir"
wait_for_text "Q to quit program"
send_text t
file_key r 1 in.txt "Enter file name for time waveform 1, or Q to quit:"
wait_for_last_line "Enter Command :"  # the read menu again: read without a warning
send_text qqb
wait_for_text "(binary-ri selected)"
send_text t
file_key s 1 out.bin "Enter file name for time waveform 1:"
send_line "e2e binary"
wait_for_file "$dir/out.bin" $((256 + 4096 * 24))
file_key qr 2 out.bin "Enter file name for time waveform 2, or Q to quit:"
wait_for_last_line "Enter Command :"
send_text qqq
expect_status 0

python3 - "$dir" <<'PY' || fail "the binary file differs from the text"
import sys
from fractions import Fraction as F
rows = [l.split() for l in open(sys.argv[1] + "/in.txt").read().splitlines()[2:-1]]
raw = open(sys.argv[1] + "/out.bin", "rb").read()
assert len(raw) == 256 + 4096 * 24 and raw[:256] == b"e2e binary" + bytes(246), len(raw)
def x87(b):  # significand with explicit integer bit, then sign and biased exponent
    se = int.from_bytes(b[8:10], "little")
    return (-1) ** (se >> 15) * int.from_bytes(b[:8], "little") * F(2) ** ((se & 0x7FFF) - 16446)
for k, (t, v) in enumerate(rows):  # times k * the first two printed times' difference
    rec = raw[256 + 24 * k: 280 + 24 * k]
    assert rec[10:12] == rec[22:24] == b"\0\0", k
    for got, want in ((x87(rec[:10]), k * F(rows[1][0])), (x87(rec[12:22]), F(v))):
        assert abs(got - want) <= abs(want) / 2**62, k
PY
pass
