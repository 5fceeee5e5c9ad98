#include "plot/raster/raster_image.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "plot/raster/bitmap_font.h"

namespace refx {

namespace {

long long floor_div(long long a, long long b) {  // b > 0
  const long long q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

int ceil_int(double v) {
  return static_cast<int>(std::ceil(v));
}

// One edge of the polygon an X server fills for a wide line: the line with direction (dx, dy)
// through the points (x, y), relative to the origin (xi, yi), where x * dy - y * dx = k, k as
// the server computes it in double. Pixel centres lie on integers; a centre on a left
// edge is inside, on a right edge outside, so neighbouring polygons never share a pixel.
struct Edge {
  long long k_ceil, dx, dy;
  int xi, yi;
  bool left;

  Edge(double k, int dx_in, int dy_in, int xi_in, int yi_in, bool is_left)
      : k_ceil(0), dx(dx_in), dy(dy_in), xi(xi_in), yi(yi_in), left(is_left) {
    if (dy < 0) {
      dy = -dy;
      dx = -dx;
      k = -k;
    }
    k_ceil = ceil_int(k);
  }

  // The first column inside (left edge) or the last column inside (right edge) on row y.
  long x_at(int y) const {
    const long long last_before = floor_div(k_ceil + (y - yi) * dx - 1, dy);
    return static_cast<long>(last_before + (left ? 1 : 0) + xi);
  }
};

}  // namespace

RasterImage::RasterImage(int width, int height, Rgb background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, background),
      clip_left_(0),
      clip_top_(0),
      clip_right_(width_),
      clip_bottom_(height_) {}

void RasterImage::set_clip(int left, int top, int right, int bottom) {
  clip_left_ = std::max(left, 0);
  clip_top_ = std::max(top, 0);
  clip_right_ = std::min(right, width_);
  clip_bottom_ = std::min(bottom, height_);
}

void RasterImage::point(int x, int y, Rgb colour) {
  if (x < clip_left_ || x >= clip_right_ || y < clip_top_ || y >= clip_bottom_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void RasterImage::span(int y, long left, long right, Rgb colour) {
  if (y < clip_top_ || y >= clip_bottom_) return;
  const long from = std::max<long>(left, clip_left_);
  const long to = std::min<long>(right, clip_right_ - 1L);
  for (long x = from; x <= to; ++x) pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

// A line of width 1 with round caps is, for an X server, its two end points plus the
// polygon one pixel wide around it: a horizontal or vertical line is the row or column
// between its ends, any other the parallelogram whose long sides lie half a pixel either side
// of the line and whose short sides cross its ends at right angles.
void RasterImage::line(int x1, int y1, int x2, int y2, Rgb colour) {
  point(x1, y1, colour);
  point(x2, y2, colour);
  if (y2 < y1 || (y2 == y1 && x2 < x1)) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  const int dx = x2 - x1, dy = y2 - y1;
  if (dy == 0) {
    span(y1, x1, x2, colour);
    return;
  }
  if (dx == 0) {
    for (int y = y1; y <= y2; ++y) point(x1, y, colour);
    return;
  }
  const double half = 0.5;
  const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
  const double r = half / length;
  const double ya = -r * dx;  // half the normal's rise
  const double k = half * length;
  // The corners at the top and bottom lie this far above and below the ends' rows.
  const double corner_y = dx > 0 ? ya : -ya;
  const Edge right_long(k, dx, dy, x1, y1, false);
  const Edge left_long(-k, dx, dy, x1, y1, true);
  const Edge top_short(0.0, -dy, dx, x1, y1, dx > 0);
  const Edge bottom_short(0.0, -dy, dx, x2, y2, dx < 0);
  const int top = ceil_int(corner_y) + y1;
  const int upper_end = ceil_int(-corner_y) + y1;   // where the short side at the top ends
  const int lower_start = ceil_int(corner_y) + y2;  // where the short side at the bottom begins
  const int bottom = ceil_int(-corner_y) + y2;      // first row below the polygon
  for (int y = top; y < bottom; ++y) {
    const Edge& first_left = dx > 0 ? top_short : left_long;
    const Edge& second_left = dx > 0 ? left_long : bottom_short;
    const Edge& first_right = dx > 0 ? right_long : top_short;
    const Edge& second_right = dx > 0 ? bottom_short : right_long;
    const int left_switch = dx > 0 ? upper_end : lower_start;
    const int right_switch = dx > 0 ? lower_start : upper_end;
    const long l = (y < left_switch ? first_left : second_left).x_at(y);
    const long rr = (y < right_switch ? first_right : second_right).x_at(y);
    if (rr >= l) span(y, l, rr, colour);
  }
}

void RasterImage::fill(int x, int y, int width, int height, Rgb colour) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + std::max(width, 0), width_);
  const int y1 = std::min(y + std::max(height, 0), height_);
  for (int row = y0; row < y1; ++row)
    std::fill(pixels_.begin() + static_cast<long>(row) * width_ + x0,
              pixels_.begin() + static_cast<long>(row) * width_ + x1, colour);
}

void RasterImage::text(int x, int y, const std::string& text, Rgb colour) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph& glyph = glyph_of(static_cast<unsigned char>(text[i]));
    const int left = x + static_cast<int>(i) * kGlyphWidth;
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int col = 0; col < kGlyphWidth; ++col)
        if (glyph[row] & (0x80u >> col)) point(left + col, y - kGlyphAscent + row, colour);
  }
}

std::vector<Rgb> RasterImage::column(int x, int top, int height) const {
  std::vector<Rgb> out(static_cast<std::size_t>(std::max(height, 0)));
  for (int i = 0; i < height; ++i) out[static_cast<std::size_t>(i)] = pixel(x, top + i);
  return out;
}

void RasterImage::put_column(int x, int top, const std::vector<Rgb>& column) {
  for (std::size_t i = 0; i < column.size(); ++i) point(x, top + static_cast<int>(i), column[i]);
}

}  // namespace refx
