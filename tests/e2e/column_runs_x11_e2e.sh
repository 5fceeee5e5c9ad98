#!/usr/bin/env bash
# Long traces drawn by the X server segment by segment and with each pixel column's vertical
# runs joined (as the Xlib plot layer hands them over) light the same pixels
# (tests/tools/column_runs_vs_x.cpp), on a private Xvfb.
# Usage: column_runs_x11_e2e.sh REFX_LIN RASTER_LINES_VS_X COLUMN_RUNS_VS_X
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"
start_xvfb
"$4" 60 7 || fail "joined column runs light other pixels than the segments"
pass
