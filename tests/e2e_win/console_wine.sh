#!/usr/bin/env bash
# The Windows console back-end on wine's console, through refx_console_probe.exe (built
# beside refx_win.exe): "cls", keys and extended keys, value entry that re-prompts on
# text that does not convert, a name followed by a comment line, long double conversion
# and the pause.
probe="$(dirname "$1")/refx_console_probe.exe"
source "$(dirname "$0")/wine_lib.sh" "$probe"

# Waits until the screen shows the text $1 on $2 lines.
wait_for_count() {
  local deadline=$((SECONDS + E2E_TIMEOUT))
  while [ "$(screen_text | grep -cF -- "$1")" != "$2" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $2 lines of: $1"
    sleep 0.05
  done
}

start_refx "$WORK"
wait_for_text "keys:"
screen_text | grep -qF "before clear" && fail "cls left the screen as it was"
# A menu key read takes an arrow's two codes as two keys; the main menu's read only the second.
tm send-keys -t refx Left
wait_for_text "keys 224 75"
tm send-keys -t refx Right
wait_for_text "menu key 77"

# Letters and an out-of-range value are refused, each once; the entry waits for new input.
wait_for_text "integer 1 to 9:"
send_line "abc"
wait_for_count "Error - enter integer again:" 1
send_line "0"
wait_for_count "Error - enter integer again:" 2
send_line "5"
wait_for_text "integer 5"
[ "$(screen_text | grep -cF "Error - enter integer again:")" = 2 ] || fail "refusals differ"

# The comment prompt waits for its own line after a name typed with more words behind it.
wait_for_text "name:"
send_line "out.txt more"
wait_for_text "Enter single line of comments:"
send_line "a comment here"
wait_for_text "name [out.txt] comment [a comment here]"

# Extended precision in and out: 0.1 as the nearest long double, 1e3 from "1e3x".
wait_for_text "long double:"
send_line "0.1"
wait_for_text "long double 1.00000000000000000001e-01"
wait_for_text "real:"
send_line "1e3x"
wait_for_text "real 1.000000000e+03"

wait_for_text "Press any A/N key to continue"
send_text k
wait_for_text "continued with 107"
wait_for_text "key to end:"
send_text e
expect_status 0
expect_sane_terminal
pass
