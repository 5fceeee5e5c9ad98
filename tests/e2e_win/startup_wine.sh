#!/usr/bin/env bash
# refx_win.exe under wine: the main menu, the format toggle, the time waveforms menu, the
# quit, the fatal stops at start and the one of a plot without a display.
source "$(dirname "$0")/wine_lib.sh" "$1"
unset DISPLAY  # for the plot window's fatal stop below

# The lines of the main menu, first on the screen after "cls".
menu_lines() {
  printf 'T for time waveforms menu\nF for FFT menu\nB to toggle binary/ascii rw option (%s selected)\nQ to quit program' "$1"
}
expect_menu() {
  wait_for_text "($1 selected)"
  [ "$(screen_text | head -4)" = "$(menu_lines "$1")" ] || fail "main menu lines differ"
}

# The shipped configuration; b and B toggle, another key only redraws, q ends with 0.
start_refx "$EXAMPLES_DIR"
expect_menu ascii-magph
send_text b
expect_menu binary-ri
send_text x
send_text B
expect_menu ascii-magph
# An arrow key comes as two codes (0xE0, then "K"): it only redraws the menu.
tm send-keys -t refx Left
send_text b
expect_menu binary-ri
# T opens the time waveforms menu, whose Q comes back.
send_text T
wait_for_text "Q to return to main menu"
[ "$(screen_text | head -2)" = $'R to read time waveform(s) from disk\nS to save time waveform(s) to disk' ] ||
  fail "time waveforms menu lines differ"
send_text Q
expect_menu binary-ri
send_text q
expect_status 0
expect_sane_terminal

# Without a display the plot window cannot open: a fatal stop, a key and status 0.
start_refx "$EXAMPLES_DIR"
key T "$TIME_MENU"
send_text P
answer 1 "Enter waveform number, 1 or 2:"
wait_for_text "Press any A/N key to continue"
[ "$(screen_text | grep -A2 -F "Error - failed to create window")" = $'Error - failed to create window\nProgram will be terminated\nPress any A/N key to continue' ] ||
  fail "no-display lines differ"
send_text x
expect_status 0

# Missing configuration file: three lines, a key, status 1.
empty=$(mktemp -d -p "$WORK")
start_refx "$empty"
wait_for_text "Press any A/N key to continue:"
expected=$'Error - input file not found\nProgram will be terminated\nPress any A/N key to continue:'
[ "$(screen_text | head -3)" = "$expected" ] || fail "missing-file lines differ"
send_text x
expect_status 1
expect_sane_terminal

# A file that ends after line 2: the Windows format error, with its full stop.
format_error_lines=$'Error in input file format\nProgram will be terminated.\nPress any A/N key to continue:'
dir=$(config_dir $'1048576\n4096\n')
start_refx "$dir"
wait_for_text "Press any A/N key to continue:"
[ "$(screen_text | head -3)" = "$format_error_lines" ] || fail "format error lines differ"
send_text x
expect_status 0

# A colour line with two of its three values, and an edge line with one of its two.
for bad in $'0 0\n255 255 255\n8 1\n8 7\n8 7\n8 1\n' $'0 0 0\n255 255 255\n8 1\n8 7\n8\n8 1\n'; do
  dir=$(config_dir $'1048576\n4096\n'"$bad")
  start_refx "$dir"
  wait_for_text "Press any A/N key to continue:"
  [ "$(screen_text | head -3)" = "$format_error_lines" ] || fail "format error lines differ"
  send_text x
  expect_status 0
done

pass
