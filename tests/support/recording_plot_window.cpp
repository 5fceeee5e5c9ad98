#include "support/recording_plot_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace refx {

namespace {
std::string join(const char* op, std::initializer_list<int> values) {
  std::string s = op;
  for (int v : values) s += " " + std::to_string(v);
  return s;
}
}  // namespace

RecordingPlotWindow::RecordingPlotWindow(int width, int height, int char_size)
    : width_(width),
      height_(height),
      char_size_(char_size),
      raster_(static_cast<std::size_t>(width * height), 0) {}

void RecordingPlotWindow::type(const std::string& keys) {
  for (char c : keys) {
    if (c == '<')
      push_key(kLeft);
    else if (c == '>')
      push_key(kRight);
    else
      push_key(static_cast<unsigned char>(c));
  }
}

PlotArea RecordingPlotWindow::open() {
  calls_.push_back("open");
  if (!open_) {
    open_ = true;
    ++opens_;
    clip_to_window();
  }
  PlotArea a;
  a.minx = width_ / 8;
  a.maxx = (width_ / 8) * 7;
  a.maxy = height_ / 8;
  a.miny = (height_ / 8) * 7;
  return a;
}

void RecordingPlotWindow::close() {
  calls_.push_back("close");
  if (open_) ++closes_;
  open_ = false;
  std::fill(raster_.begin(), raster_.end(), 0);
  texts_.clear();
}

void RecordingPlotWindow::plot_pixel(int x, int y, int colour) {
  if (x < clip_x_ || y < clip_y_ || x >= clip_x_ + clip_w_ || y >= clip_y_ + clip_h_) return;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  raster_[static_cast<std::size_t>(y * width_ + x)] = colour;
}

// Bresenham, both end points included. A line reaching far outside is first cut to the
// raster (to within a pixel), so huge coordinates cost no time.
void RecordingPlotWindow::draw(int x1, int y1, int x2, int y2, int colour) {
  auto far = [&](int x, int y) { return x < -2 || y < -2 || x > width_ + 1 || y > height_ + 1; };
  if (far(x1, y1) || far(x2, y2)) {
    double t0 = 0, t1 = 1;
    const double dxd = double(x2) - x1, dyd = double(y2) - y1;
    const double p[4] = {-dxd, dxd, -dyd, dyd};
    const double q[4] = {x1 + 1.0, width_ - double(x1), y1 + 1.0, height_ - double(y1)};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return;
      } else if (p[i] < 0) {
        t0 = std::max(t0, q[i] / p[i]);
      } else {
        t1 = std::min(t1, q[i] / p[i]);
      }
    }
    if (t0 > t1) return;
    const int nx1 = static_cast<int>(std::lround(x1 + t0 * dxd));
    const int ny1 = static_cast<int>(std::lround(y1 + t0 * dyd));
    const int nx2 = static_cast<int>(std::lround(x1 + t1 * dxd));
    const int ny2 = static_cast<int>(std::lround(y1 + t1 * dyd));
    x1 = nx1, y1 = ny1, x2 = nx2, y2 = ny2;
  }
  long dx = std::labs(static_cast<long>(x2) - x1), dy = -std::labs(static_cast<long>(y2) - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  long err = dx + dy;
  long x = x1, y = y1;
  for (;;) {
    plot_pixel(static_cast<int>(x), static_cast<int>(y), colour);
    if (x == x2 && y == y2) break;
    const long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void RecordingPlotWindow::line(int x1, int y1, int x2, int y2, int colour) {
  calls_.push_back(join("line", {x1, y1, x2, y2, colour}));
  draw(x1, y1, x2, y2, colour);
}

void RecordingPlotWindow::lines(const PlotSegment* segments, std::size_t count, int colour) {
  calls_.push_back(join("lines", {static_cast<int>(count), colour}));
  for (std::size_t i = 0; i < count; ++i) {
    const PlotSegment& s = segments[i];
    trace_.push_back(s);
    draw(s.x1, s.y1, s.x2, s.y2, colour);
  }
}

void RecordingPlotWindow::text(int x, int y, const std::string& text) {
  calls_.push_back(join("text", {x, y}) + " " + text);
  texts_.push_back({x, y, text});
}

void RecordingPlotWindow::clear() {
  calls_.push_back("clear");
  std::fill(raster_.begin(), raster_.end(), 0);
  texts_.clear();
  trace_.clear();
}

void RecordingPlotWindow::clear_band(int x, int y, int width, int height) {
  calls_.push_back(join("clear_band", {x, y, width, height}));
  for (int row = std::max(y, 0); row < std::min(y + height, height_); ++row)
    for (int col = std::max(x, 0); col < std::min(x + width, width_); ++col)
      raster_[static_cast<std::size_t>(row * width_ + col)] = 0;
  // A text goes when its first character cell lies in the band.
  texts_.erase(std::remove_if(texts_.begin(), texts_.end(),
                              [&](const ShownText& t) {
                                return t.x >= x && t.x < x + width && t.y - 1 >= y &&
                                       t.y - 1 < y + height;
                              }),
               texts_.end());
}

void RecordingPlotWindow::clip_to_window() {
  calls_.push_back("clip_window");
  clip_x_ = clip_y_ = 0;
  clip_w_ = width_;
  clip_h_ = height_;
}

void RecordingPlotWindow::clip_to_area(int left, int top, int right, int bottom) {
  calls_.push_back(join("clip_area", {left, top, right, bottom}));
  clip_x_ = left;
  clip_y_ = top;
  clip_w_ = right - left;
  clip_h_ = bottom - top;
}

void RecordingPlotWindow::save_column(int cursor, int x, int top, int height) {
  calls_.push_back(join("save", {cursor, x, top, height}));
  auto& col = saved_[cursor - 1];
  col.assign(static_cast<std::size_t>(height), 0);
  for (int i = 0; i < height; ++i) col[static_cast<std::size_t>(i)] = pixel(x, top + i);
  has_saved_[cursor - 1] = true;
}

void RecordingPlotWindow::restore_column(int cursor, int x, int top, int height) {
  calls_.push_back(join("restore", {cursor, x, top, height}));
  if (!has_saved_[cursor - 1]) return;
  const auto& col = saved_[cursor - 1];
  for (std::size_t i = 0; i < col.size(); ++i) {
    const int y = top + static_cast<int>(i);
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
      raster_[static_cast<std::size_t>(y * width_ + x)] = col[i];
  }
  has_saved_[cursor - 1] = false;
}

PlotEvent RecordingPlotWindow::next_event() {
  calls_.push_back("wait");
  if (next_event_ >= events_.size()) throw PlotScriptExhausted();
  return events_[next_event_++];
}

int RecordingPlotWindow::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return raster_[static_cast<std::size_t>(y * width_ + x)];
}

int RecordingPlotWindow::lit_in_column(int x, int top, int bottom) const {
  int n = 0;
  for (int y = top; y <= bottom; ++y) n += pixel(x, y) != 0;
  return n;
}

bool RecordingPlotWindow::shows_text(const std::string& text) const {
  for (const auto& t : texts_)
    if (t.text == text) return true;
  return false;
}

}  // namespace refx
