// Draws long random traces in an X window (width 1, round caps and joins, as the Xlib plot
// layer draws) twice, segment by segment and with each column's vertical runs joined, and
// counts the traces whose pixels differ. Needs a display.
// Usage: column_runs_vs_x TRACES SEED   (exit 0 when every trace agrees)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "plot/segment_runs.h"
#include "x_test_window.h"

namespace {

const int W = 640, H = 400;

// Like a time plot: many samples per column, a random walk, spikes and flat stretches, with
// the x step chosen per trace; some traces are bar plots (every segment from the base line).
std::vector<refx::PlotSegment> trace(std::mt19937& rng, int kind) {
  const int points = 2000 + static_cast<int>(rng() % 60000);
  const double per_column = static_cast<double>(points) / (W - 20);
  std::vector<refx::PlotSegment> segs;
  double y = H / 2.0;
  int x_old = 10, y_old = H / 2;
  for (int k = 1; k < points; ++k) {
    const int x = 10 + static_cast<int>(k / per_column);
    const unsigned r = rng() % 100;
    if (r < 2)
      y += static_cast<int>(rng() % 301) - 150.0;  // spike
    else if (r < 60)
      y += static_cast<int>(rng() % 7) - 3.0;  // walk
    y = std::fmax(-20, std::fmin(H + 20, y));  // some beyond the edges
    const int yi = static_cast<int>(y);
    if (kind == 1)
      segs.push_back({x, H - 5, x, yi});
    else
      segs.push_back({x_old, y_old, x, yi});
    x_old = x;
    y_old = yi;
  }
  return segs;
}

void draw(Display* d, Window win, GC gc, const std::vector<refx::PlotSegment>& segs) {
  std::vector<XSegment> xs;
  for (const refx::PlotSegment& s : segs)
    xs.push_back({static_cast<short>(s.x1), static_cast<short>(s.y1), static_cast<short>(s.x2),
                  static_cast<short>(s.y2)});
  for (std::size_t i = 0; i < xs.size(); i += 8192)
    XDrawSegments(d, win, gc, xs.data() + i,
                  static_cast<int>(std::min<std::size_t>(8192, xs.size() - i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const int traces = std::atoi(argv[1]);
  std::mt19937 rng(static_cast<unsigned>(std::atoi(argv[2])));
  const XTestWindow x = open_x_test_window(W, H);
  if (x.d == nullptr) return 2;
  Display* d = x.d;
  const Window win = x.win;
  GC gc = x.gc;

  int bad = 0;
  long before = 0, after = 0, polyline_differ = 0;
  for (int t = 0; t < traces; ++t) {
    std::vector<refx::PlotSegment> segs = trace(rng, t % 3 == 2 ? 1 : 0);
    XImage* shot[2];
    for (int joined = 0; joined < 2; ++joined) {
      XClearWindow(d, win);
      std::vector<refx::PlotSegment> drawn = segs;
      if (joined) drawn.resize(refx::join_column_runs(drawn.data(), drawn.size()));
      (joined ? after : before) += static_cast<long>(drawn.size());
      draw(d, win, gc, drawn);
      shot[joined] = XGetImage(d, win, 0, 0, W, H, AllPlanes, ZPixmap);
    }
    int differ = 0, lit = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const unsigned long a = XGetPixel(shot[0], x, y) & 0xFFFFFF;
        differ += a != (XGetPixel(shot[1], x, y) & 0xFFFFFF);
        lit += a != 0;
      }
    if (t % 3 != 2) {  // for the record: one polyline through the chain's points
      XClearWindow(d, win);
      std::vector<XPoint> points{{static_cast<short>(segs[0].x1), static_cast<short>(segs[0].y1)}};
      for (const refx::PlotSegment& g : segs)
        points.push_back({static_cast<short>(g.x2), static_cast<short>(g.y2)});
      XDrawLines(d, win, gc, points.data(), static_cast<int>(points.size()), CoordModeOrigin);
      XImage* poly = XGetImage(d, win, 0, 0, W, H, AllPlanes, ZPixmap);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
          polyline_differ +=
              (XGetPixel(shot[0], x, y) & 0xFFFFFF) != (XGetPixel(poly, x, y) & 0xFFFFFF);
      XDestroyImage(poly);
    }
    if (differ > 0 || lit == 0) {
      ++bad;
      std::printf("trace %d: %d pixels differ, %d lit\n", t, differ, lit);
    }
    XDestroyImage(shot[0]);
    XDestroyImage(shot[1]);
  }
  std::printf("%d of %d traces differ; %ld segments drawn as %ld\n", bad, traces, before, after);
  // Not a check: one XDrawLines polyline per trace is the other way to hand a trace over.
  std::printf("a polyline instead of the segments: %ld pixels differ\n", polyline_differ);
  XFreeGC(d, gc);
  XCloseDisplay(d);
  return bad == 0 ? 0 : 1;
}
