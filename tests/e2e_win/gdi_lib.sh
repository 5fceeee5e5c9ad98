# Helpers of the tests of refx_win.exe's GDI plot window: a private Xvfb for wine, and the
# plot read from screenshots. Source after wine_lib.sh.

# Starts Xvfb on a free display and lets the prefix's wine server end: wine's desktop process
# keeps the display it started with.
start_wine_xvfb() {
  XVFB_PID=""
  trap '[ -z "$XVFB_PID" ] || kill "$XVFB_PID"; e2e_cleanup' EXIT
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
  XVFB_PID=$!
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until [ -s "$WORK/display" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "Xvfb gave no display"
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$WORK/display")"
  wineserver -w
}

# The geometry WxH+X+Y of the plot window's client area, as wine maps it to an X window.
client_geometry() {
  xwininfo -root -children | grep -F '"GRAPHICS_WINDOW"' | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1 || true
}
# The X window wine shows the plot window in.
plot_window_id() { xwininfo -root -children | grep -F '"GRAPHICS_WINDOW"' | awk '{print $1; exit}'; }
# The rows and then the columns of the client area that are dark for at least $1 and $2
# pixels: the frame's edges and full-height cursors.
full_lines() {
  import -window root png:- | convert - -crop "$geometry" +repage -colorspace gray \
    -compress none pgm:- | awk -v h="$1" -v v="$2" 'NR == 2 { w = $1; ht = $2 } NR > 3 {
      for (i = 1; i <= NF; i++) { if ($i < 128) { row[int(k / w)]++; col[k % w]++ }; k++ } }
    END { printf "rows"; for (r = 0; r < ht; r++) if (row[r] >= h) printf " %d", r
      printf " cols"; for (c = 0; c < w; c++) if (col[c] >= v) printf " %d", c; print "" }'
}
# Waits until full_lines (kept in $seen) matches the pattern $1, in which $minx, $maxx, $maxy
# and $miny stand for the edges the configuration puts in the client area as wine shows it.
wait_for_lines() {
  local deadline=$((SECONDS + E2E_TIMEOUT)) pattern=""
  seen=""
  until geometry=$(client_geometry) && [ -n "$geometry" ] && IFS='x+' read -r width height _ <<< "$geometry" &&
    minx=$((width / 8)) maxx=$((width / 8 * 7)) maxy=$((height / 8)) miny=$((height / 8 * 7)) &&
    eval "pattern=\"$1\"" && seen=$(full_lines $((maxx - minx)) $((miny - maxy))) && [[ $seen =~ ^$pattern$ ]]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the plot in [$geometry] shows [$seen], expected [$pattern]"
    sleep 0.2
  done
}
# Waits until the plot window has gone.
wait_for_plot_closed() {
  local deadline=$((SECONDS + E2E_TIMEOUT))
  while [ -n "$(client_geometry)" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the plot window stayed open"
    sleep 0.1
  done
}
