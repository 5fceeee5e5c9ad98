#!/usr/bin/env bash
# Resizing the terminal never ends refx_lin nor answers for the operator: the typical
# reflection removal run, with a resize at the main menu, in a submenu, halfway through a
# file name, halfway through a number and at "Press any A/N key", saves the same result file
# as the same run in script mode. Then, with no configuration file and standard input at its
# end, the program still exits with status 1.
source "$(dirname "$0")/lib.sh" "$1"

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt,reflection_run.script} "$dir"
(cd "$dir" && "$REFX_BIN" --script reflection_run.script >/dev/null) || fail "script run"
mv "$dir/result.txt" "$WORK/normal_result.txt"

press() { send_text "$1"; wait_for_text "$2"; }
answer() { wait_for_text "$1"; send_line "$2"; }
# The program's process, and whether it sits in read(2) (system call 0 on x86-64) waiting for
# the terminal: a resize is made only then, so that it meets the read it could break.
refx_pid() { pgrep -P "$(tm display -p -t refx '#{pane_pid}')" -x "$(basename "$REFX_BIN")"; }
reading() { local pid; pid=$(refx_pid) && [ "$(cut -d' ' -f1 "/proc/$pid/syscall")" = 0 ]; }
resize() {
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until reading; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program never waited for a key"
    sleep 0.05
  done
  tm resize-window -t refx -x "$1" -y "$2"
}
# Waits for the message $1 and its pause, resizes there, and goes on with q: were the pause
# ended by the resize, that q would leave the reflection removal menu.
acknowledge() {
  wait_for_text "$1" && wait_for_text "Press any A/N key to continue"
  resize "$2" "$3"
  send_text q
}
L_MENU="L to remove reflections using a compression filter"

start_refx "$dir"
wait_for_text "Q to quit program"
resize 80 24  # the main menu
press t "$L_MENU"
resize 100 40  # a submenu
press r "B to read both time waveforms from disk"
press 1 "Enter file name for time waveform 1, or Q to quit:"
send_text reference_
resize 90 30  # a file name, half typed
send_line pulse.txt
press 2 "Enter file name for time waveform 2, or Q to quit:"
send_line measured.txt
press q "$L_MENU"
press lg "Enter waveform number to generate filter (1 or 2):"
resize 120 50  # a number, before it is typed
send_line 1
acknowledge "Compression filter has been generated" 70 20
wait_for_text "G to generate compression filter (internally generated)"
press c "Enter waveform to compress (1 or 2):"
send_line 2
answer "Enter destination for compressed waveform (1 or 2):" 1
acknowledge "Waveform 2 was compressed to waveform 1" 120 50
press i "Enter first point of interval (starting at 1):"
send_text 10
resize 100 45  # a number, half typed
send_line 1
answer "Enter last point of interval (starting at 1):" 301
wait_for_text "I to setup waveform interval for decompression (101,301)"
press d "Enter waveform to de-compress (1 or 2):"
send_line 1
answer "Enter destination for de-compressed waveform (1 or 2):" 2
acknowledge "Waveform 1 was de-compressed to waveform 2" 90 35
press q "$L_MENU"
press s "B to save both time waveforms to disk"
press 2 "Enter file name for time waveform 2:"
send_text resu
resize 120 50  # a file name to save under, half typed
send_line lt.txt
answer "Enter single line of comments:" "Direct arrival of measured.txt, reflections removed"
press q "$L_MENU"
send_text qq
expect_status 0
cmp "$dir/result.txt" "$WORK/normal_result.txt" || fail "result.txt differs from the script run's"
[ ! -e "$dir/resu" ] || fail "a file was saved under the half-typed name"

# No configuration file and no key to come: the missing file still sets the status.
REFX_COMMAND="'$REFX_BIN' </dev/null"
start_refx "$(mktemp -d -p "$WORK")"
expect_status 1
pass
