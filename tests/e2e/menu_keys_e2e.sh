#!/usr/bin/env bash
# Arrow, page, Home/End, Insert/Delete and function keys do nothing anywhere in refx_lin's
# menus: at every menu, at a pause and in the middle of a typed file name. Each menu is left
# with Q after the keys, and the screen it returns to must be exactly as it was before.
source "$(dirname "$0")/lib.sh" "$1"

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt} "$dir"

KEYS=(Up Down Left Right Home End PPage NPage IC DC F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12)
special_keys() { tm send-keys -t refx "${KEYS[@]}"; }
press() { send_text "$1"; wait_for_text "$2"; }
# Enters a submenu with key $1 (its own text $2), types every special key there, leaves it
# with Q and checks that the menu it came back to, whose text is $3, shows what it showed.
visit() {
  local before
  wait_for_text "$3"
  before=$(screen_text)
  press "$1" "$2"
  special_keys
  press q "$3"
  [ "$(screen_text)" = "$before" ] || fail "keys in the menu of '$2' changed something"
}
MAIN="Q to quit program"
TIME="L to remove reflections using a compression filter"
RRC="L to toggle optional low-pass filter"

start_refx "$dir"
wait_for_text "$MAIN"
before=$(screen_text)
special_keys
# The B line is the only one B changes: were an arrow taken as B, it would show ascii again.
press b "(binary-ri selected)"
[ "$(screen_text)" = "${before/ascii-magph/binary-ri}" ] || fail "keys at the main menu acted"
# A lone Escape is still a key without a command: the B typed right after it acts.
tm send-keys -t refx Escape
press b "(ascii-magph selected)"

press t "$TIME"
press r "B to read both time waveforms from disk"
press 1 "Enter file name for time waveform 1, or Q to quit:"
send_text reference_
special_keys
send_line pulse.txt
press 2 "Enter file name for time waveform 2, or Q to quit:"
send_line measured.txt
press q "$TIME"
screen_text | grep -q "Error" && fail "a file name was changed by the keys typed in it"

press q "$MAIN"
visit f "Enter Command :" "$MAIN"  # the FFT menu
press t "$TIME"
visit r "B to read both time waveforms from disk" "$TIME"
visit s "B to save both time waveforms to disk" "$TIME"
visit w "P to set up Parzen(cubic) window" "$TIME"
press l "$RRC"
press g "Enter waveform number to generate filter (1 or 2):"
send_line 1
wait_for_text "Press any A/N key to continue"
special_keys
# Still at the pause: q ends it and the menu is drawn again, the filter now generated.
press q "G to generate compression filter (internally generated)"
press q "$TIME"
visit l "$RRC" "$TIME"
send_text qq
expect_status 0
pass
