#!/usr/bin/env bash
# The raster plot layer lights the same pixels as the X server for thousands of random lines
# (tests/tools/raster_lines_vs_x.cpp), on a private Xvfb.
# Usage: raster_lines_x11_e2e.sh REFX_LIN RASTER_LINES_VS_X
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"
start_xvfb
"$2" 4000 16 || fail "raster lines differ from the X server's"
pass
