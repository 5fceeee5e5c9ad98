#include "plot/trace.h"

#include <cmath>
#include <vector>

#include "core/program.h"
#include "plot/axis.h"

namespace refx {

namespace {
// 2^62: a phase below it leaves Round well inside the range of long.
constexpr float kLargestRoundedPhase = 4611686018427387904.0f;
}  // namespace

float tg_adjust(int plot_mode, long i, float value, long double deltaf, float Tg) {
  if (plot_mode != 3) return value;
  const long double phase = value + static_cast<long double>(i) * 360 * deltaf * Tg;
  float p = static_cast<float>(phase);
  if (!std::isfinite(phase)) return p;  // nothing to wrap, and the loops below would not end
  // Whole turns beyond what Round can count are removed first, exactly (fmodl is exact);
  // every smaller phase takes the usual path unchanged.
  if (!(std::fabs(p) < kLargestRoundedPhase)) p = static_cast<float>(std::fmod(phase, 360.0L));
  const long n = Round(static_cast<double>(p) / 360);
  p = static_cast<float>(p - static_cast<long double>(n) * 360);
  while (p < -180) p += 360;
  while (p > 180) p -= 360;
  return p;
}

long find_pixel(long i_func, int minx, int maxx, float delta, float strt_val, float xmin_axis,
                float xmax_axis) {
  const float rminx = static_cast<float>(minx), rmaxx = static_cast<float>(maxx);
  const float r_ix = static_cast<float>(i_func);
  const float x_pix = static_cast<float>(
      rminx + ((static_cast<long double>(r_ix) - 1) * delta + strt_val - xmin_axis) /
                  (static_cast<long double>(xmax_axis) - xmin_axis) *
                  (static_cast<long double>(rmaxx) - rminx));
  return to_pixel(x_pix);
}

namespace {

// Pixel positions go through float at each step, as the cursors' find_pixel does in its own
// order, so trace and cursors meet on the same columns.
struct Scales {
  const PlotParams& s;
  float delta;
  float x_conv, y_conv;

  int x_of(long k) const {
    const float t = static_cast<float>(
        (static_cast<long double>(k - 1) * delta + s.strt_val - s.xmin_axis) * x_conv);
    const float p = static_cast<float>(s.minx + static_cast<long double>(t));
    return to_pixel(p);
  }
  int y_of(float v) const {
    const float t = static_cast<float>((static_cast<long double>(s.ymax_axis) - v) * y_conv);
    const float p = static_cast<float>(s.maxy + static_cast<long double>(t));
    return to_pixel(p);
  }
};

void draw_trace(const PlotJob& job, int plot_mode) {
  const PlotParams& s = job.set;
  const long double x_span = static_cast<long double>(s.xmax_axis) - s.xmin_axis;
  const long double y_span = static_cast<long double>(s.ymax_axis) - s.ymin_axis;
  if (!(x_span > 0) || !(y_span > 0)) return;  // no axes laid out: nothing to scale to
  const Scales sc{s, job.delta, static_cast<float>((s.maxx - s.minx) / x_span),
                  static_cast<float>((s.miny - s.maxy) / y_span)};
  const long double deltaf = job.p.fft.deltaf;
  const float Tg = job.p.fft.Tg;
  const float truncated_value = plot_mode == 1 ? 0.0f : s.ymin_axis;

  std::vector<PlotSegment> segments;
  segments.reserve(s.i_max > s.i_min ? static_cast<std::size_t>(s.i_max - s.i_min + 1) : 1);

  long k = s.i_min;
  int x_old = sc.x_of(k);
  int y_old =
      sc.y_of(tg_adjust(plot_mode, k - 1, static_cast<float>(job.plot_array[k - 1]), deltaf, Tg));
  if (plot_mode > 1) segments.push_back({x_old, s.miny, x_old, y_old});
  for (k = s.i_min + 1; k <= s.i_max; ++k) {
    const int x = sc.x_of(k);
    const float v =
        tg_adjust(plot_mode, k - 1, static_cast<float>(job.plot_array[k - 1]), deltaf, Tg);
    const int y = sc.y_of(k <= job.i_truncate ? v : truncated_value);
    if (plot_mode == 1)
      segments.push_back({x_old, y_old, x, y});
    else
      segments.push_back({x, s.miny, x, y});
    x_old = x;
    y_old = y;
  }
  job.window.lines(segments.data(), segments.size(), job.colour);
}

}  // namespace

void plot(int& init_graph, const PlotJob& job) {
  PlotWindow& w = job.window;
  PlotParams& s = job.set;
  Program& p = job.p;
  const int plot_mode = p.plot.plot_mode;

  if (!w.is_open()) {
    const PlotArea area = w.open();
    s.minx = area.minx;
    s.maxx = area.maxx;
    s.maxy = area.maxy;
    s.miny = area.miny;
    p.plot.graphics_window_created = 1;
  }
  if (init_graph == 0) {
    init_graph = 1;
    setup_horiz_axis(s, p.ln_10);
    setup_vert_axis(s, p.ln_10);
  }

  w.clip_to_window();
  w.clear();
  draw_horiz_axis(w, s, plot_mode, p.plot.tic_offset, job.colour);
  draw_vert_axis(w, s, plot_mode, p.plot.tic_offset, job.colour);

  w.clip_to_area(s.minx, s.maxy, s.maxx, s.miny);
  if (s.i_min >= 1 && s.i_min <= s.i_max && s.i_max <= static_cast<long>(job.plot_array.size()))
    draw_trace(job, plot_mode);
  w.clip_to_window();
  w.show_picture();
}

}  // namespace refx
