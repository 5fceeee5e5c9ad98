#!/usr/bin/env bash
# A failed save of refx_win.exe under wine: onto a full file system (a small tmpfs; mounting
# one needs root here) the error names the file and the old file stays byte-identical with
# nothing left beside it; /dev/full is written in place, reported, and stays the device.
# Reads of a folder and of /dev/zero are refused.
# Usage: save_failures_wine.sh path/to/refx_win.exe
source "$(dirname "$0")/wine_lib.sh" "$1"

fs=$WORK/fs
mkdir "$fs"
if ! mount -t tmpfs -o size=64k tmpfs "$fs" 2>/dev/null; then
  echo "SKIP: cannot mount a tmpfs here (needs root); no full disk to save onto" >&2
  exit 77
fi
# Lazily: the program may still be ending when the test gives up.
trap 'umount -l "$fs" 2>/dev/null || true; e2e_cleanup' EXIT
cp "$EXAMPLES_DIR/refx_win.in" "$fs"
head -c 30000 /dev/urandom | base64 > "$fs/old.txt"
old_sum=$(sha256sum < "$fs/old.txt")
dd if=/dev/zero of="$fs/fill" bs=4096 2>/dev/null || true

# Saves waveform 1 as $1; the error $2 and its pause follow, then back to the time menu.
failed_save() {
  key S "B to save both"
  send_text 1
  answer "$1" "Enter file name for time waveform 1:"
  answer comment "Enter single line of comments:"
  wait_for_text "$2"
  wait_for_text "Press any A/N key to continue"
  send_text k
  key Q "$TIME_MENU"
}

start_refx "$fs"
key T "$TIME_MENU"
# Only regular files are read: a folder and a device are refused like a missing file.
key R "B to read both"
send_text 1
answer "$WORK" "Enter file name for time waveform 1, or Q to quit:"
answer /dev/zero "Error opening file $WORK;"
answer "$EXAMPLES_DIR/reference_pulse.txt" "Error opening file /dev/zero;"
key Q "$TIME_MENU"
failed_save old.txt "Error - file old.txt could not be written; the old file was left as it was"
failed_save /dev/full "Error - file /dev/full could not be written"
key Q "Q to quit program"
send_text Q
expect_status 0

[ "$(sha256sum < "$fs/old.txt")" = "$old_sum" ] || fail "the old file changed on the full disk"
[ "$(ls -A "$fs" | tr '\n' ' ')" = "fill old.txt refx_win.in " ] ||
  fail "files left on the full disk: $(ls -A "$fs")"
[ -c /dev/full ] || fail "/dev/full is no longer a character device"
pass
