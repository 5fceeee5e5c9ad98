#!/usr/bin/env bash
# Time waveform files of refx_win.exe under wine: the reference pulse saved in ascii-magph
# and in binary-ri (10-byte values, decoded here), and ascii files passed between refx_win
# and refx_lin ($2) both ways with the same values.
# Usage: files_wine.sh path/to/refx_win.exe path/to/refx_lin
source "$(dirname "$0")/wine_lib.sh" "$1"
LIN="'$(readlink -f "$2")'"
dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_win.in,refx_lin.in,reference_pulse.txt} "$dir"
points_of "$dir/reference_pulse.txt" > "$WORK/source"

# Each number: 8 significand bytes then sign and exponent, little-endian.
binary_points() {
  tail -c +257 "$1" | od -An -v -t u1 -w20 | awk '{ for (j = 0; j < 20; j += 10) {
      m = 0; for (i = 8; i >= 1; i--) m = m * 256 + $(j + i)
      e = $(j + 9) + 256 * ($(j + 10) % 128); v = m * 2 ^ (e - 16446)
      printf "%.17g%s", ($(j + 10) >= 128 ? -v : v), (j ? "\n" : " ") } }'
}

start_refx "$dir"
key T "$TIME_MENU"
read_wave 1 reference_pulse.txt
save_wave 1 win.txt
key Q "(ascii-magph selected)"
key B "(binary-ri selected)"
key T "$TIME_MENU"
save_wave 1 win.bin
key Q "(binary-ri selected)"
send_text Q
expect_status 0

points_of "$dir/win.txt" > "$WORK/win"
same_points "$WORK/source" "$WORK/win" 1e-10
[ "$(stat -c %s "$dir/win.bin")" = $((256 + 4096 * 20)) ] || fail "binary file size"
[ "$(head -c 8 "$dir/win.bin" | tr '\0' '|')" = "comment|" ] || fail "binary comment"
binary_points "$dir/win.bin" > "$WORK/bin"
same_points "$WORK/source" "$WORK/bin" 1e-10

# refx_lin reads refx_win's file and saves it; refx_win reads that and saves it again.
REFX_COMMAND=$LIN start_refx "$dir"
key T "$TIME_MENU"
read_wave 1 win.txt
save_wave 1 lin.txt
key Q "Q to quit program"
send_text Q
expect_status 0
start_refx "$dir"
key T "$TIME_MENU"
read_wave 2 lin.txt
save_wave 2 win2.txt
key Q "Q to quit program"
send_text Q
expect_status 0
points_of "$dir/lin.txt" > "$WORK/lin"
points_of "$dir/win2.txt" > "$WORK/win2"
same_points "$WORK/win" "$WORK/lin" 1e-10
same_points "$WORK/lin" "$WORK/win2" 1e-10
pass
