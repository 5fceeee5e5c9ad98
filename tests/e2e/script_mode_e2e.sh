#!/usr/bin/env bash
# refx_lin --script in a plain shell, with no terminal and no display: the example run gives
# the direct arrival and two plot pictures; a short script gives the committed transcript,
# from a file and from standard input; a script that ends early, a binary file and a line
# of a megabyte each end the run with status 3 and a clear message; bad arguments give the
# usage and status 2.
source "$(dirname "$0")/lib.sh" "$1"
SCRIPTS="$E2E_DIR/script"

# Runs refx_lin in directory $1 with the arguments $2...: no controlling terminal, no
# DISPLAY, no TERM; standard output in $1/out, standard error in $1/err, status in $STATUS.
run() {
  local dir=$1; shift
  STATUS=0
  (cd "$dir" && setsid env -u DISPLAY -u TERM "$REFX_BIN" "$@" </dev/null >out 2>err) || STATUS=$?
}
expect() { [ "$STATUS" = "$1" ] || fail "$2: status $STATUS, expected $1; stderr: $(cat "$dir/err")"; }

# The example run, as the README gives it.
dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt,direct_arrival.txt,reflection_run.script} "$dir"
run "$dir" --script reflection_run.script
expect 0 "example run"
[ ! -s "$dir/err" ] || fail "example run wrote to stderr: $(cat "$dir/err")"
for n in 1 2; do
  grep -qx "Plot picture written to plot-00$n.png" "$dir/out" || fail "picture $n not named"
  [ "$(identify -format '%m %w %h' "$dir/plot-00$n.png")" = "PNG 1000 800" ] || fail "plot-00$n.png"
done
python3 - "$dir" <<'PY' || fail "result.txt differs from direct_arrival.txt"
import sys
d = sys.argv[1]
def values(name):
    lines = open(f"{d}/{name}").read().splitlines()
    assert lines[1] == "x" and lines[-1] == "y" and len(lines) == 4096 + 3, name
    return [tuple(map(float, l.split())) for l in lines[2:-1]]
got, want = values("result.txt"), values("direct_arrival.txt")
# As the tmux run checks it: 11 significant digits in the files, 1e-9 far above their
# rounding and far below a lost arrival or a mean left in; the times agree to their last digit.
print(f"result.txt: max |diff| {max(abs(a[1] - b[1]) for a, b in zip(got, want)):.3e}")
assert all(abs(a[0] - b[0]) <= 1e-10 * b[0] and abs(a[1] - b[1]) <= 1e-9 for a, b in zip(got, want))
PY

# The short script: its transcript, plot picture in the --plots folder, from a file and
# from standard input alike.
dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR/refx_lin.in" "$SCRIPTS/short.script" "$dir"
mkdir "$dir/pictures"
run "$dir" --script short.script --plots pictures
expect 0 "short script"
diff -u "$SCRIPTS/short.expected" "$dir/out" || fail "short script transcript differs"
[ -s "$dir/pictures/plot-001.png" ] || fail "no picture in the --plots folder"
(cd "$dir" && rm -r pictures && mkdir pictures &&
  env -u DISPLAY "$REFX_BIN" --script - --plots pictures <short.script >stdin.out 2>&1) ||
  fail "script on standard input: status $?"
cmp -s "$dir/out" "$dir/stdin.out" || fail "standard input transcript differs"

# A picture that cannot be written (a folder with files has its name) ends a finished run
# with status 4.
(cd "$dir" && rm -r pictures && mkdir -p pictures/plot-001.png/kept)
run "$dir" --script short.script --plots pictures
expect 4 "unwritable picture"
grep -q "^Error - plot picture pictures/plot-001.png not written" "$dir/err" ||
  fail "unwritable picture: $(cat "$dir/err")"
# Pictures take the plot window's size, up to 8192 pixels each way.
side=$(mktemp -d -p "$WORK")
cp "$SCRIPTS/short.script" "$side"
printf '1048576\n4096\n8192\n64\n' > "$side/refx_lin.in"
run "$side" --script short.script
expect 0 "largest picture"
[ "$(identify -format '%w %h' "$side/plot-001.png")" = "8192 64" ] && ! grep -q Warning "$side/out" ||
  fail "largest picture: $(identify -format '%w %h' "$side/plot-001.png")"

# A script that ends before the program: status 3, the message on stderr only.
head -n 6 "$SCRIPTS/short.script" > "$dir/early.script"
run "$dir" --script early.script
expect 3 "early end"
[ "$(cat "$dir/err")" = "Script ended before the program did" ] || fail "early end: $(cat "$dir/err")"
grep -q "B to read both time waveforms from disk" "$dir/out" || fail "early end: no read menu"

# Not a script: a binary file, and a line of a megabyte after one good line.
head -c 65536 "$REFX_BIN" > "$dir/binary.script"
run "$dir" --script binary.script
expect 3 "binary script"
grep -qx "Script error - line 1 of binary.script holds a control character (code 127): a script is a text file" \
  "$dir/err" || fail "binary script: $(cat "$dir/err")"
{ echo T; head -c 1048576 /dev/zero | tr '\0' x; echo; } > "$dir/long.script"
run "$dir" --script long.script
expect 3 "long line"
grep -qx "Script error - line 2 of long.script is longer than 4096 characters" "$dir/err" ||
  fail "long line: $(cat "$dir/err")"

# The program's own status: no configuration file ends it with 1, as interactively.
empty=$(mktemp -d -p "$WORK")
cp "$SCRIPTS/short.script" "$empty"
run "$empty" --script short.script
[ "$STATUS" = 1 ] && grep -q "Error - input file not found" "$empty/out" || fail "missing configuration: $STATUS"

# Arguments that cannot be run: usage on stderr, status 2, nothing started.
for args in "--bogus" "--script" "--plots $dir" "--script no_such.script" \
    "--script short.script --plots no_such_folder"; do
  # shellcheck disable=SC2086
  run "$dir" $args
  expect 2 "arguments $args"
  [ -s "$dir/err" ] && [ ! -s "$dir/out" ] || fail "arguments $args: no message or output"
done
pass
