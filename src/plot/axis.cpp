#include "plot/axis.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "core/xmath.h"
#include "plot/drawing.h"

namespace refx {

float frac(float x) {
  return x - std::trunc(x);
}

int truncfi(float x) {
  if (x != x) return 0;
  if (x >= static_cast<float>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (x <= static_cast<float>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(x);
}

long Round(double x) {
  constexpr long kMax = std::numeric_limits<long>::max();
  constexpr long kMin = std::numeric_limits<long>::min();
  if (x != x) return 0;
  if (x >= static_cast<double>(kMax)) return kMax;
  if (x <= static_cast<double>(kMin)) return kMin;
  const long t = static_cast<long>(x);
  const double rest = x - static_cast<double>(t);
  if (rest >= 0.5) return t + 1;
  if (rest <= -0.5) return t - 1;
  return t;
}

int to_pixel(double x) {
  if (!(x <= kPixelHold)) return static_cast<int>(kPixelHold);  // NaN too
  if (x < -kPixelHold) return static_cast<int>(-kPixelHold);
  return static_cast<int>(Round(x));
}

namespace {

struct AxisLayout {
  int& n;
  float& step;
  float& step_n;
  int& ndiv;
  float& axis_min;
  float& axis_max;
};

// Each value the layout keeps is stored as float; everything between is long double, with
// the double-precision log and exp (our xlog: the C libraries' log differ in the last bit).
void lay_out(float lo, float hi, float ln_10, AxisLayout out) {
  const long double range = static_cast<long double>(hi) - lo;
  if (!(range > 0) || !std::isfinite(range)) return;  // no scale exists for an empty range

  const float log_10_max =
      static_cast<float>(xlog(static_cast<double>(range)) / static_cast<long double>(ln_10));
  int n = truncfi(log_10_max);
  if (frac(log_10_max) < 0) n -= 1;
  const long double decade = std::exp(static_cast<double>(n * static_cast<long double>(ln_10)));
  const float rnmax = static_cast<float>(range / decade);

  float step_n = 0.2f;
  if (rnmax > 5.0f && rnmax <= 10.0f)
    step_n = 1.0f;
  else if (rnmax > 2.5f && rnmax <= 5.0f)
    step_n = 0.5f;
  else if (rnmax > 2.0f && rnmax <= 2.5f)
    step_n = 0.25f;

  const float step = static_cast<float>(decade * step_n);
  int ndiv = truncfi(static_cast<float>(range / step));
  if (static_cast<long double>(ndiv) * step != range) ndiv += 1;

  out.n = n;
  out.step = step;
  out.step_n = step_n;
  out.ndiv = ndiv;
  out.axis_min = lo;
  out.axis_max = static_cast<float>(lo + static_cast<long double>(ndiv) * step);
}

std::string format(const char* fmt, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, value);
  return buf;
}

std::string division_label(const char* axis, float step_n, int n, const char* unit) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s: %5.3e x 10^%d%s", axis, static_cast<double>(step_n), n, unit);
  return buf;
}

}  // namespace

void setup_horiz_axis(PlotParams& s, float ln_10) {
  lay_out(s.xmin, s.xmax, ln_10, {s.n_h, s.deltah, s.deltah_n, s.ndivh, s.xmin_axis, s.xmax_axis});
}

void setup_vert_axis(PlotParams& s, float ln_10) {
  lay_out(s.ymin, s.ymax, ln_10, {s.n_v, s.deltav, s.deltav_n, s.ndivv, s.ymin_axis, s.ymax_axis});
}

void draw_horiz_axis(PlotWindow& w, const PlotParams& s, int plot_mode, int tic_offset, int) {
  const int colour = 1;
  const float rminx = static_cast<float>(s.minx), rmaxx = static_cast<float>(s.maxx);
  const float rdelx = static_cast<float>((static_cast<long double>(rmaxx) - rminx) / s.ndivh);

  Rectangle(w, s.minx, s.miny, s.maxx, s.maxy, colour);
  for (int i = 2; i <= s.ndivh; ++i) {
    const int x = to_pixel(static_cast<double>((i - 1) * static_cast<long double>(rdelx) + rminx));
    w.line(x, s.miny + tic_offset, x, s.miny - tic_offset, colour);
  }

  const int y = s.miny + 2 * w.char_height() + 2 * tic_offset + 5;
  const std::string lo = format("%14e", s.xmin_axis);
  w.text(s.minx - textwidth(w, 50, lo) / 2, y, lo);
  const std::string hi = format("%14e", s.xmax_axis);
  w.text(s.maxx - textwidth(w, 50, hi) / 2, y, hi);
  const std::string label = division_label("H", s.deltah_n, s.n_h, plot_mode == 1 ? " sec" : " Hz");
  w.text(s.minx + (s.maxx - s.minx) / 2 - textwidth(w, 100, label) / 2, y, label);
}

void draw_vert_axis(PlotWindow& w, const PlotParams& s, int plot_mode, int tic_offset, int colour) {
  const float rminy = static_cast<float>(s.miny), rmaxy = static_cast<float>(s.maxy);
  const float rdely = static_cast<float>((static_cast<long double>(rminy) - rmaxy) / s.ndivv);

  for (int i = 2; i <= s.ndivv; ++i) {
    const int y = to_pixel(static_cast<double>((i - 1) * static_cast<long double>(rdely) + rmaxy));
    w.line(s.minx - tic_offset, y, s.minx + tic_offset, y, colour);
  }

  const int half_char = w.char_height() / 2;
  const std::string lo = format("%6.4f", s.ymin_axis);
  w.text(s.minx - textwidth(w, 50, lo) - 2 * tic_offset - 1, s.miny + half_char, lo);
  const std::string hi = format("%6.4f", s.ymax_axis);
  w.text(s.minx - textwidth(w, 50, hi) - 2 * tic_offset - 1, s.maxy + half_char, hi);
  const char* unit = plot_mode == 2 ? " dB" : plot_mode == 3 ? " deg" : "";
  const std::string label = division_label("V", s.deltav_n, s.n_v, unit);
  w.text(s.minx + (s.maxx - s.minx) / 2 - textwidth(w, 50, label) / 2,
         s.maxy - w.char_height() - 2 * tic_offset - 1, label);
}

}  // namespace refx
