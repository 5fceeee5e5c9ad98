#!/usr/bin/env bash
# A failed save never harms the file it was to replace: a save onto a full file system (a
# small tmpfs in a private mount namespace) reports the file and leaves the old one
# byte-identical with no temporary file beside it; /dev/full is reported and stays the
# device; a FIFO without a reader is refused; a hangup at the comment prompt changes nothing.
source "$(dirname "$0")/lib.sh" "$1"

if ! unshare -rm true 2>/dev/null; then
  echo "SKIP: cannot make a mount namespace here (unshare -rm); no tmpfs for a full disk" >&2
  exit 77
fi

dir=$(config_dir $'1024\n256\n1000\n800\n')
awk 'BEGIN { print "in\nx"; for (k = 0; k < 256; k++) printf "%.10e  %.10e\n", k / 1024, sin(k / 9)
  print "y" }' > "$dir/in.txt"
head -c 30000 /dev/urandom | base64 > "$dir/old.txt"
old_sum=$(sha256sum < "$dir/old.txt")

# Reads in.txt into waveform 1, then opens the save prompt for waveform 1 with name $1.
read_then_save() {
  wait_for_text "Q to quit program"
  send_text tr1
  wait_for_text "Enter file name for time waveform 1, or Q to quit:"
  send_line "$dir/in.txt"
  wait_for_text "Q to return to time waveforms menu"
  send_text qs1
  wait_for_text "Enter file name for time waveform 1:"
  send_line "$1"
}
# Leaves the save menu after a pause: the time waveforms menu, then the main menu, then Q.
pause_then_quit() {
  wait_for_text "Press any A/N key to continue"
  send_text k
  wait_for_text "B to save both time waveforms to disk"
  send_text q
  wait_for_text "W to set up window function"
  send_text qq
  expect_status 0
}

# 1. A full file system: the old file fills most of a 64 KiB tmpfs and zeros the rest.
fs=$WORK/fs
mkdir "$fs"
cat > "$WORK/in_tmpfs.sh" <<SH
mount -t tmpfs -o size=64k tmpfs '$fs' || exit 90
cp '$dir/refx_lin.in' '$dir/old.txt' '$fs/' || exit 91
dd if=/dev/zero of='$fs/fill' bs=4096 2>/dev/null
cd '$fs' && '$REFX_BIN'
status=\$?
sha256sum < old.txt > '$WORK/after.sum'
ls -A > '$WORK/after.ls'
exit \$status
SH
REFX_COMMAND="unshare -rm sh '$WORK/in_tmpfs.sh'"
start_refx "$dir"
read_then_save old.txt
wait_for_text "Enter single line of comments:"
send_line "does not fit"
wait_for_text "Error - file old.txt could not be written; the old file was left as it was"
pause_then_quit
[ "$(cat "$WORK/after.sum")" = "$old_sum" ] || fail "the old file changed on the full disk"
[ "$(tr '\n' ' ' < "$WORK/after.ls")" = "fill old.txt refx_lin.in " ] ||
  fail "files left on the full disk: $(cat "$WORK/after.ls")"

# 2. /dev/full is written in place, reported, and still the device afterwards.
REFX_COMMAND="'$REFX_BIN'"
start_refx "$dir"
read_then_save /dev/full
wait_for_text "Enter single line of comments:"
send_line "to the full device"
wait_for_text "Error - file /dev/full could not be written"
pause_then_quit
[ -c /dev/full ] || fail "/dev/full is no longer a character device"

# 3. A FIFO nobody reads cannot be opened: the retry prompt, then Q gives up with a pause.
mkfifo "$dir/pipe"
start_refx "$dir"
read_then_save pipe
wait_for_text "Error opening file, enter another name or Q to quit:"
send_line Q
wait_for_text "File save aborted"
pause_then_quit
[ -p "$dir/pipe" ] || fail "the FIFO was replaced"

# 4. A hangup at the comment prompt: the old file is as it was and nothing else appeared.
cat > "$WORK/run.sh" <<SH
echo \$\$ > '$WORK/pid'
exec '$REFX_BIN'
SH
REFX_COMMAND="sh '$WORK/run.sh'"
ls -A "$dir" > "$WORK/before.ls"
start_refx "$dir"
read_then_save old.txt
wait_for_text "Enter single line of comments:"
kill -HUP "$(cat "$WORK/pid")"
[ "$(exit_status)" != 0 ] || fail "the program ended with status 0 after a hangup"
[ "$(sha256sum < "$dir/old.txt")" = "$old_sum" ] || fail "the old file changed after a hangup"
ls -A "$dir" | diff "$WORK/before.ls" - || fail "files appeared after a hangup"
pass
