#!/usr/bin/env bash
# Samples far beyond the vertical range are drawn cut at the frame edge on their own side:
# +1e30 and 1e4000 (infinite in the plot's single precision) reach up to the top edge,
# -1e30 and -1e4000 down to the bottom edge, and none of them crosses to the other side.
# Checked on a screenshot of refx_lin's plot window under a private Xvfb.
source "$(dirname "$0")/lib.sh" "$1"
source "$(dirname "$0")/x11_lib.sh"

dir=$(config_dir "$(cat "$EXAMPLES_DIR/refx_lin.in")")  # 4096 points, 1000x800 window
# Zero everywhere but four samples (0-based 1000, 1800, 2600, 3400).
awk -v f="$dir/huge.txt" 'BEGIN {
  v[1000] = "1e30"; v[1800] = "-1e30"; v[2600] = "1e4000"; v[3400] = "-1e4000"
  print "huge\nx" > f
  for (k = 0; k < 4096; k++) printf "%.10e  %s\n", k / 1048576, (k in v ? v[k] : "0") > f
  print "y" > f }'
type_ahead() { for t; do [ "${t#-}" = "$t" ] && send_text "$t" || send_line "${t#-}"; done; }

start_xvfb
REFX_COMMAND="DISPLAY='$DISPLAY' '$REFX_BIN'"
start_refx "$dir"
# Vertical range -2..2: 150 pixels per unit, zero on row 400, frame rows 100..700.
type_ahead ta -2 --2 r1 -huge.txt qp -1
poll "the plot window" window_open
xdotool mousemove 500 400

# Sample k (0-based) at column 125 + 0.1788 k; five columns around each, rows clear of the
# zero line (400) and of the frame and its tics.
rows=""
for spike in "1000 up +1e30" "1800 down -1e30" "2600 up 1e4000" "3400 down -1e4000"; do
  read -r k side what <<<"$spike"
  x=$(awk -v k="$k" 'BEGIN { printf "%d", 125 + 0.1788 * k - 2 }')
  if [ "$side" = up ]; then
    rows+="$x 103 5 295 ge 295 $what up to the top edge"$'\n'"$x 403 5 294 eq 0 $what not below zero"$'\n'
  else
    rows+="$x 403 5 294 ge 294 $what down to the bottom edge"$'\n'"$x 103 5 295 eq 0 $what not above zero"$'\n'
  fi
done
rows+="125 100 751 1 eq 751 top edge
125 700 751 1 eq 751 bottom edge"
keys_then_screen "$rows"
cp "$WORK/shot.png" "${TMPDIR:-/tmp}/plot_huge_e2e.png"  # kept for a look by eye
close_window
type_ahead qq
expect_status 0
pass
