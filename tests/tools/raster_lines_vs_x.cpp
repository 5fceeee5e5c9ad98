// Draws random lines both in an X window (width 1, round caps, as the Xlib plot layer draws)
// and in a RasterImage, and counts the cases whose pixels differ. Short, long, degenerate,
// horizontal, vertical and clipped lines; lines far outside the window are cut to window
// coordinates first, as every plot layer does. Needs a display.
// Usage: raster_lines_vs_x CASES SEED   (exit 0 when every case agrees)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "plot/line_limits.h"
#include "plot/raster/raster_image.h"
#include "x_test_window.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const int cases = std::atoi(argv[1]);
  std::mt19937 rng(static_cast<unsigned>(std::atoi(argv[2])));
  const int W = 320, H = 240;
  const XTestWindow x = open_x_test_window(W, H);
  if (x.d == nullptr) return 2;
  Display* d = x.d;
  const Window win = x.win;
  GC gc = x.gc;
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };

  int bad = 0;
  for (int c = 0; c < cases; ++c) {
    XClearWindow(d, win);
    refx::RasterImage image(W, H, 0);
    const int kind = c % 4;  // short lines, lines across the window, far-off ends, clipped
    XRectangle clip{0, 0, W, H};
    if (kind == 3)
      clip = {static_cast<short>(pick(0, 100)), static_cast<short>(pick(0, 80)),
              static_cast<unsigned short>(pick(0, 200)), static_cast<unsigned short>(pick(0, 150))};
    XSetClipRectangles(d, gc, 0, 0, &clip, 1, Unsorted);
    image.set_clip(clip.x, clip.y, clip.x + clip.width, clip.y + clip.height);
    for (int n = pick(1, 6); n > 0; --n) {
      const int span = kind == 0 ? 12 : kind == 2 ? 60000 : 400;
      const int lo = kind == 0 ? 100 : kind == 2 ? -30000 : -40;
      long x1 = pick(lo, lo + span), y1 = pick(lo, lo + span);
      long x2 = pick(lo, lo + span), y2 = pick(lo, lo + span);
      if (kind == 2) x1 = pick(0, W), y1 = pick(0, H);  // one end on the window
      if (rng() % 6 == 0) x2 = x1;
      if (rng() % 6 == 0) y2 = y1;
      if (!refx::limit_line(x1, y1, x2, y2)) continue;
      XDrawLine(d, win, gc, static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
                static_cast<int>(y2));
      image.line(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
                 static_cast<int>(y2), 0xFFFFFF);
    }
    XImage* shot = XGetImage(d, win, 0, 0, W, H, AllPlanes, ZPixmap);
    int differ = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        differ += ((XGetPixel(shot, x, y) & 0xFFFFFF) != 0) != (image.pixel(x, y) != 0);
    XDestroyImage(shot);
    if (differ && ++bad <= 5) std::printf("case %d (kind %d): %d pixels differ\n", c, kind, differ);
  }
  std::printf("%d of %d cases differ\n", bad, cases);
  XFreeGC(d, gc);  // the connection frees the server side, not Xlib's memory
  XCloseDisplay(d);
  return bad == 0 ? 0 : 1;
}
