# Helpers of the end-to-end tests of refx_win.exe under wine: those of the refx_lin tests,
# with the program started through scripts/wine-refx.sh in its tmux pane.
# Usage: source wine_lib.sh "$path_to_refx_win_exe"
# WINEPREFIX names the prefix to run in (the test run prepares one and shares it).
WINE_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REFX_COMMAND="'$WINE_E2E_DIR/../../scripts/wine-refx.sh' '$(readlink -f "$1")'"
REFX_CONFIG_NAME=refx_win.in
# Starting a process under wine takes longer than a native start.
E2E_TIMEOUT=${E2E_TIMEOUT:-60}
if [ -n "${WINEPREFIX:-}" ]; then export WINEPREFIX; fi
source "$WINE_E2E_DIR/../e2e/lib.sh" "$1"

# Every menu ends with this line; waiting for it as the last line sees the next menu drawn.
MENU_END="Enter Command :"
# Waits for the prompt $2 and types the line $1.
answer() { wait_for_text "$2"; send_line "$1"; }
# Types the key $1 and waits for the text $2.
key() { send_text "$1"; wait_for_text "$2"; }
TIME_MENU="L to remove reflections"
# From the time waveforms menu and back: reads file $2 into waveform $1, or saves it there.
read_wave() {
  key R "B to read both"
  send_text "$1"
  answer "$2" "Enter file name for time waveform $1, or Q to quit:"
  wait_for_last_line "$MENU_END"
  key Q "$TIME_MENU"
}
save_wave() {
  key S "B to save both"
  send_text "$1"
  answer "$2" "Enter file name for time waveform $1:"
  answer comment "Enter single line of comments:"
  wait_for_last_line "$MENU_END"
  key Q "$TIME_MENU"
}
# The points of an ascii-magph file: its lines without the comment, "x" and "y".
points_of() { tr -d '\r' < "$1" | sed '1,2d;/^y$/d'; }
# Two lists of points agree line by line, each number within the relative tolerance $3
# (measured against at least 1e-6).
same_points() {
  [ "$(wc -l < "$1")" = "$(wc -l < "$2")" ] || fail "$1 and $2 differ in length"
  paste "$1" "$2" | awk -v tol="$3" 'function abs(x) { return x < 0 ? -x : x }
    NF != 4 { exit 1 }
    { for (i = 1; i <= 2; i++) { a = $i; b = $(i + 2); m = abs(a) > abs(b) ? abs(a) : abs(b)
        if (abs(a - b) > tol * (m > 1e-6 ? m : 1e-6)) exit 1 } }' || fail "$1 and $2 differ"
}
