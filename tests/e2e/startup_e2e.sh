#!/usr/bin/env bash
# refx_lin at start: the main menu, the format toggle, the quit, and the fatal rows.
source "$(dirname "$0")/lib.sh" "$1"

# Main menu on the example configuration; b twice; lower-case q ends with status 0.
start_refx "$EXAMPLES_DIR"
wait_for_text "B to toggle binary/ascii rw option (ascii-magph selected)"
screen=$(screen_text)
expected=$'T for time waveforms menu\nF for FFT menu\nB to toggle binary/ascii rw option (ascii-magph selected)\nQ to quit program'
[ "$(printf '%s\n' "$screen" | head -4)" = "$expected" ] || fail "main menu lines differ"
send_text b
wait_for_text "(binary-ri selected)"
send_text b
wait_for_text "(ascii-magph selected)"
send_text q
expect_status 0
expect_sane_terminal

# Missing configuration file: three lines, a key, status 1.
empty=$(mktemp -d -p "$WORK")
start_refx "$empty"
wait_for_text "Press any A/N key to continue:"
screen=$(screen_text)
expected=$'Error - input file not found\nProgram will be terminated\nPress any A/N key to continue:'
[ "$(printf '%s\n' "$screen" | head -3)" = "$expected" ] || fail "missing-file lines differ"
send_text x
expect_status 1
expect_sane_terminal

# A format error ends with status 0 after a key.
dir=$(config_dir $'1000\n4096\n')
start_refx "$dir"
wait_for_text "Error in input file format"
wait_for_text "Press any A/N key to continue:"
send_text x
expect_status 0

# A point count that is not a power of two, and one too large.
dir=$(config_dir $'1000\n3000\n1000\n800\n')
start_refx "$dir"
wait_for_text "Error - num_meas_points is not a power of 2"
send_text x
expect_status 0
dir=$(config_dir $'1000\n131072\n1000\n800\n')
start_refx "$dir"
wait_for_text "Error - num_meas_points is too large (maximum 65536)"
send_text x
expect_status 0
expect_sane_terminal

pass
