#!/usr/bin/env bash
# refx_win.exe --help, --version and a bad argument under wine: they answer and end without
# starting the program.
set -euo pipefail
source "$(dirname "$0")/../e2e/command_line_checks.sh"
export WINEDEBUG=-all
if [ -n "${WINEPREFIX:-}" ]; then export WINEPREFIX; fi
CL_TIMEOUT=120 check_command_line refx_win wine "$(readlink -f "$1")"
