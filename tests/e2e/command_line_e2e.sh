#!/usr/bin/env bash
# refx_lin --help, --version and a bad argument answer and end without starting the program.
set -euo pipefail
source "$(dirname "$0")/command_line_checks.sh"
check_command_line refx_lin "$(readlink -f "$1")"
