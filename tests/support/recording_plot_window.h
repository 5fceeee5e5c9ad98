#pragma once
// A PlotWindow for tests: a raster of colour numbers (0 is the background), the texts shown,
// the segments of the last trace, a few counters, and events fed from a script.
#include <algorithm>
#include <cmath>
#include <vector>

#include "plot/plot_window.h"

namespace refx {

struct PlotScriptExhausted {};  // the viewer waited for an event after the script ran out
struct ShownText { int x, y; std::string text; };

struct RecordingPlotWindow : PlotWindow {
  static constexpr int kW = 1000, kH = 800, kLeft = 0x96, kRight = 0x98;
  std::vector<int> raster = std::vector<int>(kW * kH, 0);
  std::vector<ShownText> texts;
  std::vector<PlotSegment> trace;  // of the last lines() call
  std::vector<std::vector<int>> bands;  // x, y, width, height of each clear_band()
  int opens = 0, closes = 0, clears = 0, pictures = 0, line_calls = 0, char_size = 8;
  std::vector<int> clip = {0, 0, kW, kH};  // left, top, right, bottom (the last two left out)

  // One key per character; '<' and '>' are cursor-left and -right, '~' an exposure
  // (which, as in X, carries the last key code), '!' the window manager's close request.
  void type(const std::string& keys) {
    for (char c : keys) {
      const bool key = c != '~' && c != '!';
      events_.push_back({key, k_ = !key ? k_ : c == '<' ? kLeft : c == '>' ? kRight : c, c == '!'});
    }
  }
  std::size_t events_left() const { return events_.size() - next_; }
  static bool in(long x, long y) { return x >= 0 && y >= 0 && x < kW && y < kH; }
  int pixel(int x, int y) const { return in(x, y) ? raster[y * kW + x] : 0; }
  int lit_in_column(int x, int top, int bottom) const {
    return top > bottom ? 0 : (pixel(x, top) != 0) + lit_in_column(x, top + 1, bottom);
  }
  // Whether the text is shown (with its left end and baseline at x, y when given).
  bool shows(const std::string& t, int x = -1, int y = -1) const {
    auto is = [&](const auto& s) { return s.text == t && (x < 0 || (s.x == x && s.y == y)); };
    return std::any_of(texts.begin(), texts.end(), is);
  }

  PlotArea open() override { return opens += !open_, open_ = true, PlotArea{125, 875, 100, 700}; }
  bool is_open() const override { return open_; }
  void close() override { closes += open_, open_ = false; }
  int char_width() const override { return char_size; }
  int char_height() const override { return char_size; }
  int cursor_left_code() const override { return kLeft; }
  int cursor_right_code() const override { return kRight; }
  void line(int a, int b, int c, int d, int k) override { ++line_calls, draw({a, b, c, d}, k); }
  void lines(const PlotSegment* s, std::size_t n, int c) override {
    for (const auto& seg : trace = std::vector<PlotSegment>(s, s + n)) draw(seg, c);
  }
  void text(int x, int y, const std::string& t) override { texts.push_back({x, y, t}); }
  void clear() override { ++clears, std::fill(raster.begin(), raster.end(), 0), texts.clear(); }
  // A text goes when its first character cell lies in the band.
  void clear_band(int x, int y, int w, int h) override {
    bands.push_back({x, y, w, h});
    for (int i = 0; i < w * h; ++i) set(x + i % w, y + i / w, 0);
    auto gone = [&](const auto& t) { return t.x >= x && t.x < x + w && t.y > y && t.y <= y + h; };
    texts.erase(std::remove_if(texts.begin(), texts.end(), gone), texts.end());
  }
  void clip_to_window() override { clip_to_area(0, 0, kW, kH); }
  void clip_to_area(int l, int t, int r, int b) override { clip = {l, t, r, b}; }
  void save_column(int id, int x, int top, int h) override {
    saved_[id - 1].clear();
    for (int i = 0; i < h; ++i) saved_[id - 1].push_back(pixel(x, top + i));
  }
  void restore_column(int id, int x, int top, int) override {  // nothing without a save
    for (std::size_t i = 0; i < saved_[id - 1].size(); ++i) set(x, top + i, saved_[id - 1][i]);
    saved_[id - 1].clear();
  }
  void show_picture() override { ++pictures; }
  void show_update() override {}
  PlotEvent next_event() override {
    return std::size_t(next_) < events_.size() ? events_[next_++] : throw PlotScriptExhausted();
  }

  void set(long x, long y, int c) { in(x, y) ? void(raster[y * kW + x] = c) : void(); }
  // Steps along the longer axis over the clipped part only, so far-off ends cost nothing.
  void draw(const PlotSegment& s, int c) {
    const bool st = std::abs(s.y2 - s.y1) > std::abs(s.x2 - s.x1);
    long a1 = st ? s.y1 : s.x1, a2 = st ? s.y2 : s.x2, b1 = st ? s.x1 : s.y1, b2 = st ? s.x2 : s.y2;
    if (a1 > a2) std::swap(a1, a2), std::swap(b1, b2);
    for (long a = std::max<long>(a1, clip[st]); a <= std::min<long>(a2, clip[2 + st] - 1); ++a) {
      const long b = a1 == a2 ? b1 : b1 + std::lround(double(a - a1) * (b2 - b1) / (a2 - a1));
      if (b >= clip[!st] && b < clip[2 + !st]) set(st ? b : a, st ? a : b, c);
    }
  }
  int open_ = 0, k_ = 0, next_ = 0;
  std::vector<PlotEvent> events_;
  std::vector<int> saved_[2];
};

}  // namespace refx
