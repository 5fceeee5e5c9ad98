#!/usr/bin/env bash
# Runs refx_win.exe under wine in this terminal, in the current directory (where it reads
# refx_win.in). Usage: scripts/wine-refx.sh [path/to/refx_win.exe]
# Wine's console passes the terminal's input on as the terminal delivers it, so the
# terminal is put in raw mode for the run: each key then reaches _getch at once, and the
# console itself echoes and edits typed lines. The settings are restored afterwards and
# the program's exit status is passed on.
set -u
exe=$(readlink -f "${1:-$(dirname "$0")/../build-win/refx_win.exe}")
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

saved=""
if [ -t 0 ]; then
  saved=$(stty -g)
  trap 'stty "$saved"' EXIT
  stty raw -echo
fi
wine "$exe"
exit $?
