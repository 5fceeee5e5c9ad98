#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails on each kind of include that runs
# against the layers, planted one at a time into a copy of src/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
check="$here/../../scripts/check-layers"
src="$here/../../src"
"$check" "$src" >/dev/null || { echo "FAIL: the tree itself does not pass"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
plant() {  # file, include line: must be caught
  rm -rf "$work/src"
  cp -r "$src" "$work/src"
  printf '#include "%s"\n' "$2" >> "$work/src/$1"
  if "$check" "$work/src" >/dev/null 2>&1; then
    echo "FAIL: $1 including $2 was not caught"
    exit 1
  fi
}
plant core/samples.h app/startup.h              # the ground reaching the top
plant spectral/fft.cpp app/main_menu.h          # a subsystem reaching the top
plant reflection/compression.cpp console/curses/curses_console.h  # a platform header
plant core/program.h waveforms/time_menu.h     # the ground reaching a subsystem
plant console/console_io.cpp plot/viewer.h      # the console reaching a subsystem
plant plot/gdi/gdi_plot_window.cpp plot/plot_lin/xlib_plot_window.h  # across platforms
echo "layer check: passes on the tree, catches 6 planted upward includes"
