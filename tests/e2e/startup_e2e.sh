#!/usr/bin/env bash
# refx_lin at start: the main menu on the terminal, the format toggle, the quit, a missing
# configuration file.
source "$(dirname "$0")/lib.sh" "$1"

start_refx "$EXAMPLES_DIR"
wait_for_text "B to toggle binary/ascii rw option (ascii-magph selected)"
[ "$(screen_text | head -2)" = $'T for time waveforms menu\nF for FFT menu' ] || fail "main menu"
send_text b
wait_for_text "(binary-ri selected)"
send_text q
expect_status 0
expect_sane_terminal

start_refx "$(mktemp -d -p "$WORK")"
wait_for_text $'Error - input file not found'
wait_for_text "Press any A/N key to continue:"
send_text x
expect_status 1
expect_sane_terminal
pass
