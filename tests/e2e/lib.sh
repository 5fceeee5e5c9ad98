# Shared helpers of the end-to-end tests: refx_lin runs in its own tmux server, and the
# tests wait for text on the screen or a file on disk, never for a fixed time.
# Usage: source lib.sh "$path_to_refx_lin"
# REFX_COMMAND (the command that starts the program) and REFX_CONFIG_NAME may be set
# before, as the tests of refx_win.exe under wine do.
set -euo pipefail

REFX_BIN=$(readlink -f "$1")
REFX_COMMAND=${REFX_COMMAND:-"'$REFX_BIN'"}
REFX_CONFIG_NAME=${REFX_CONFIG_NAME:-refx_lin.in}
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
EXAMPLES_DIR=$(cd "$E2E_DIR/../../examples" && pwd)
WORK=$(mktemp -d)
TMUX_SOCKET="refx_e2e_$$_$RANDOM"
E2E_TIMEOUT=${E2E_TIMEOUT:-60}

tm() { tmux -L "$TMUX_SOCKET" -f /dev/null "$@"; }

e2e_cleanup() {
  tm kill-server >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "---- screen ----" >&2
  tm capture-pane -p -t refx >&2 2>/dev/null || true
  exit 1
}

# Starts refx_lin in directory $1; its exit status lands in $WORK/status and the
# terminal settings it leaves behind in $WORK/stty.
start_refx() {
  local dir=$1
  rm -f "$WORK/status" "$WORK/stty"
  tm new-session -d -s refx -x 120 -y 50 \
    "cd '$dir' && $REFX_COMMAND; echo \$? > '$WORK/status.tmp'; stty -a > '$WORK/stty' 2>&1; mv '$WORK/status.tmp' '$WORK/status'"
}

screen_text() { tm capture-pane -p -t refx 2>/dev/null || true; }

# Waits until the screen shows the literal text $1.
wait_for_text() {
  local text=$1 deadline=$((SECONDS + E2E_TIMEOUT))
  while ! screen_text | grep -qF -- "$text"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for: $text"
    sleep 0.05
  done
}

# Waits until the last line with text on the screen is $1: the next screen has been drawn to
# its end, whether it replaced the old one or (a console that was not cleared) follows it.
wait_for_last_line() {
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until [ "$(screen_text | sed -e 's/[[:space:]]*$//' -e '/^$/d' | tail -n 1)" = "$1" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for the last line: $1"
    sleep 0.05
  done
}

# Waits until the file $1 exists and has stopped growing past the size $2 (default 1 byte).
wait_for_file() {
  local file=$1 min=${2:-1} deadline=$((SECONDS + E2E_TIMEOUT))
  while [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -lt "$min" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for file $file"
    sleep 0.05
  done
}

# Types literal text (no Enter).
send_text() { tm send-keys -t refx -l -- "$1"; }
# Types a line and Enter.
send_line() { tm send-keys -t refx -l -- "$1"; tm send-keys -t refx Enter; }

# Waits for the program to end and prints its exit status.
exit_status() {
  wait_for_file "$WORK/status"
  cat "$WORK/status"
}

expect_status() {
  local got
  got=$(exit_status)
  [ "$got" = "$1" ] || fail "exit status $got, expected $1"
}

# The terminal is back in its normal line mode with echo after the program ended.
expect_sane_terminal() {
  wait_for_file "$WORK/stty"
  grep -qw icanon "$WORK/stty" || fail "terminal left without icanon"
  grep -qw echo "$WORK/stty" || fail "terminal left without echo"
}

# A configuration directory with the given text as the configuration file.
config_dir() {
  local dir
  dir=$(mktemp -d -p "$WORK")
  printf '%s' "$1" > "$dir/$REFX_CONFIG_NAME"
  echo "$dir"
}

pass() { echo "PASS: $(basename "$0")"; }
