#!/usr/bin/env bash
# The GDI plot of refx_win.exe under wine cuts samples far beyond the vertical range at the
# frame edge on their own side: +1e30 and 1e4000 up to the top edge, -1e30 and -1e4000 down
# to the bottom edge, none of them across the zero line. Checked on screenshots.
source "$(dirname "$0")/wine_lib.sh" "$1"
XVFB_PID=""
trap '[ -z "$XVFB_PID" ] || kill "$XVFB_PID"; e2e_cleanup' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
until [ -s "$WORK/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$WORK/display")"
wineserver -w  # wine's desktop process keeps the display it started with

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR/refx_win.in" "$dir"
# Zero everywhere but four samples (0-based 1000, 1800, 2600, 3400).
awk -v f="$dir/huge.txt" 'BEGIN {
  v[1000] = "1e30"; v[1800] = "-1e30"; v[2600] = "1e4000"; v[3400] = "-1e4000"
  print "huge\nx" > f
  for (k = 0; k < 4096; k++) printf "%.10e  %s\n", k / 1048576, (k in v ? v[k] : "0") > f
  print "y" > f }'

client_geometry() {
  xwininfo -root -children | grep -F '"GRAPHICS_WINDOW"' | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1 || true
}
# For each spike "k up|down": the dark pixels in the seven columns around sample k (axis
# 0..4 ms over the frame), above and below the zero row, edges and zero row left out.
# Prints "ok" when every spike fills its own side and leaves the other empty.
spikes_ok() {
  import -window root png:- | convert - -crop "$geometry" +repage -colorspace gray \
    -compress none pgm:- | awk -v w="$width" -v h="$height" -v spikes="$1" '
    NR > 3 { for (i = 1; i <= NF; i++) { if ($i < 128) dark[k % w, int(k / w)] = 1; k++ } }
    END {
      minx = int(w / 8); maxx = int(w / 8) * 7; maxy = int(h / 8); miny = int(h / 8) * 7
      zero = (maxy + miny) / 2; n = split(spikes, s, ","); good = 1
      for (j = 1; j <= n; j++) {
        split(s[j], f, " "); x = int(minx + f[1] * 4096 / 4194.304 * (maxx - minx) / 4096)
        up = 0; down = 0
        for (c = x - 3; c <= x + 3; c++) {
          for (r = maxy + 3; r < zero - 3; r++) up += ((c, r) in dark)
          for (r = zero + 3; r < miny - 3; r++) down += ((c, r) in dark)
        }
        rows = zero - 3 - (maxy + 3) - 1
        if (f[2] == "up" && (up < rows || down > 0)) good = 0
        if (f[2] == "down" && (down < rows || up > 0)) good = 0
        printf "%s:%d/%d ", f[1], up, down
      }
      print good ? "ok" : "bad" }'
}

start_refx "$dir"
key T "$TIME_MENU"
# Vertical range -2..2: zero halfway between the edges.
key A "Enter maximum vertical scale value:"
send_line 2
answer -2 "Enter minimum vertical scale value:"
read_wave 1 huge.txt
send_text P
answer 1 "Enter waveform number, 1 or 2:"
deadline=$((SECONDS + E2E_TIMEOUT))
until geometry=$(client_geometry) && [ -n "$geometry" ] && IFS='x+' read -r width height _ <<< "$geometry" &&
  seen=$(spikes_ok "1000 up,1800 down,2600 up,3400 down") && [[ $seen == *ok ]]; do
  [ "$SECONDS" -lt "$deadline" ] || { import -window root "${TMPDIR:-/tmp}/plot_huge_wine_failed.png"; fail "spikes in [$geometry]: $seen"; }
  sleep 0.2
done
xdotool key q
deadline=$((SECONDS + E2E_TIMEOUT))
while [ -n "$(client_geometry)" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the plot window stayed open"
  sleep 0.1
done
key Q "Q to quit program"
send_text Q
expect_status 0
pass
