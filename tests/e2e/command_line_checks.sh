# The command line of a real program: --help, --version and a bad argument answer without
# starting the program (in a folder with no configuration file, where a start would stop on
# the missing file), each on its stream with its status.
# Usage: source this file, then check_command_line NAME COMMAND... (the command that starts
# the program, such as its path, or wine and the path of refx_win.exe).

# The one version of the project, from the top CMakeLists.txt.
project_version() {
  sed -n 's/^project(refx VERSION \([0-9][0-9.]*\).*/\1/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../../CMakeLists.txt"
}

# Runs the command with the given arguments in an empty folder: stdout, stderr (carriage
# returns removed) and the status land in $CL_WORK/out, err and status.
run_args() {
  local status=0
  (cd "$CL_WORK/empty" && timeout "${CL_TIMEOUT:-30}" "${CL_COMMAND[@]}" "$@" \
    > "$CL_WORK/out.raw" 2> "$CL_WORK/err.raw") || status=$?
  tr -d '\r' < "$CL_WORK/out.raw" > "$CL_WORK/out"
  tr -d '\r' < "$CL_WORK/err.raw" > "$CL_WORK/err"
  echo "$status" > "$CL_WORK/status"
}

cl_fail() {
  echo "FAIL: $*" >&2
  echo "---- stdout ----" >&2; cat "$CL_WORK/out" >&2
  echo "---- stderr ----" >&2; cat "$CL_WORK/err" >&2
  exit 1
}

expect_run() {  # status, stdout empty (1) or not (0), stderr empty (1) or not (0)
  [ "$(cat "$CL_WORK/status")" = "$1" ] || cl_fail "status $(cat "$CL_WORK/status"), expected $1"
  [ -s "$CL_WORK/out" ] && [ "$2" = 1 ] && cl_fail "unexpected standard output"
  [ -s "$CL_WORK/out" ] || [ "$2" = 1 ] || cl_fail "no standard output"
  [ -s "$CL_WORK/err" ] && [ "$3" = 1 ] && cl_fail "unexpected standard error"
  [ -s "$CL_WORK/err" ] || [ "$3" = 1 ] || cl_fail "no standard error"
  return 0
}

check_command_line() {
  local name=$1 version
  shift
  CL_COMMAND=("$@")
  CL_WORK=$(mktemp -d)
  trap 'rm -rf "$CL_WORK"' EXIT
  mkdir "$CL_WORK/empty"
  version=$(project_version)
  [ -n "$version" ] || cl_fail "no version in CMakeLists.txt"

  run_args --version
  expect_run 0 0 1
  [ "$(cat "$CL_WORK/out")" = "$name $version" ] || cl_fail "--version does not print $name $version"

  run_args --help
  expect_run 0 0 1
  head -1 "$CL_WORK/out" | grep -qx "Usage: $name \[--help | --version | --script FILE \[--plots DIR\]\]" || cl_fail "--help: no usage line"
  grep -qF "reads $name.in from the current directory" "$CL_WORK/out" || cl_fail "--help: no configuration file"
  cp "$CL_WORK/out" "$CL_WORK/help"

  for bad in --bogus -h "" --help=1 "--bogus --help"; do
    # shellcheck disable=SC2086  # the last case is two arguments
    if [ "$bad" = "--bogus --help" ]; then run_args $bad; else run_args "$bad"; fi
    expect_run 2 1 0
    head -1 "$CL_WORK/err" | grep -qxF "$name: unknown argument '${bad%% *}'" || cl_fail "argument '$bad' not named"
    # The usage text follows the line that names the argument, as --help prints it.
    tail -n +3 "$CL_WORK/err" | cmp -s - "$CL_WORK/help" || cl_fail "argument '$bad': usage differs from --help"
  done

  # Nothing was started: no file appeared where a start would have looked for its configuration.
  [ -z "$(ls -A "$CL_WORK/empty")" ] || cl_fail "files appeared in the folder"
  if [ -e /dev/full ] && [ "${CL_DEV_FULL:-1}" = 1 ]; then
    # A version that cannot be written is not a success.
    local status=0
    (cd "$CL_WORK/empty" && timeout "${CL_TIMEOUT:-30}" "${CL_COMMAND[@]}" --version > /dev/full 2>/dev/null) || status=$?
    [ "$status" = 1 ] || cl_fail "--version into a full device: status $status, expected 1"
  fi
  echo "PASS: $name --version, --help and bad arguments"
}
