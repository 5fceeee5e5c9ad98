#pragma once
// A PlotWindow for tests: a raster of colour numbers (0 is the background), the texts shown,
// the segments of the last trace, a few counters, and events fed from a script.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "plot/plot_window.h"

namespace refx {

// Thrown when the viewer waits for an event after the script has run out.
struct PlotScriptExhausted : std::runtime_error {
  PlotScriptExhausted() : std::runtime_error("plot event script exhausted") {}
};

struct ShownText {
  int x, y;
  std::string text;
};

class RecordingPlotWindow : public PlotWindow {
 public:
  static constexpr int kW = 1000, kH = 800, kLeft = 0x96, kRight = 0x98;
  std::vector<int> raster = std::vector<int>(kW * kH, 0);
  std::vector<ShownText> texts;
  std::vector<PlotSegment> trace;  // of the last lines() call
  int opens = 0, closes = 0, clears = 0, pictures = 0, line_calls = 0, char_size = 8;
  int clip[4] = {0, 0, kW, kH};  // left, top, right, bottom (the last two left out)

  // One key per character; '<' and '>' are cursor-left and -right, '~' an exposure
  // (which, as in X, carries the last key code).
  void type(const std::string& keys) {
    for (char c : keys) {
      const int last = events_.empty() ? 0 : events_.back().code;  // an exposure keeps it
      events_.push_back({c != '~', c == '~' ? last : c == '<' ? kLeft : c == '>' ? kRight : c});
    }
  }
  std::size_t events_left() const { return events_.size() - next_; }
  int pixel(int x, int y) const {
    return x < 0 || y < 0 || x >= kW || y >= kH ? 0 : raster[y * kW + x];
  }
  int lit_in_column(int x, int top, int bottom) const {
    int n = 0;
    for (int y = top; y <= bottom; ++y) n += pixel(x, y) != 0;
    return n;
  }
  // Whether the text is shown (with its left end and baseline at x, y when given).
  bool shows(const std::string& t, int x = -1, int y = -1) const {
    return std::any_of(texts.begin(), texts.end(), [&](const ShownText& s) {
      return s.text == t && (x < 0 || (s.x == x && s.y == y));
    });
  }

  PlotArea open() override {
    opens += !open_;
    open_ = true;
    return {kW / 8, kW / 8 * 7, kH / 8, kH / 8 * 7};
  }
  bool is_open() const override { return open_; }
  void close() override { closes += open_, open_ = false; }
  int char_width() const override { return char_size; }
  int char_height() const override { return char_size; }
  int cursor_left_code() const override { return kLeft; }
  int cursor_right_code() const override { return kRight; }
  void line(int x1, int y1, int x2, int y2, int c) override {
    ++line_calls, draw({x1, y1, x2, y2}, c);
  }
  void lines(const PlotSegment* s, std::size_t n, int c) override {
    trace.assign(s, s + n);
    for (const PlotSegment& seg : trace) draw(seg, c);
  }
  void text(int x, int y, const std::string& t) override { texts.push_back({x, y, t}); }
  void clear() override {
    ++clears;
    std::fill(raster.begin(), raster.end(), 0);
    texts.clear();
  }
  // A text goes when its first character cell lies in the band.
  void clear_band(int x, int y, int w, int h) override {
    for (int r = y; r < y + h; ++r)
      for (int c = x; c < x + w; ++c) set(c, r, 0);
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [&](const ShownText& t) {
                                 return t.x >= x && t.x < x + w && t.y > y && t.y <= y + h;
                               }),
                texts.end());
  }
  void clip_to_window() override { clip_to_area(0, 0, kW, kH); }
  void clip_to_area(int l, int t, int r, int b) override {
    clip[0] = l, clip[1] = t, clip[2] = r, clip[3] = b;
  }
  void save_column(int id, int x, int top, int h) override {
    saved_[id - 1].clear();
    for (int i = 0; i < h; ++i) saved_[id - 1].push_back(pixel(x, top + i));
  }
  void restore_column(int id, int x, int top, int) override {  // nothing without a save
    for (std::size_t i = 0; i < saved_[id - 1].size(); ++i)
      set(x, top + static_cast<int>(i), saved_[id - 1][i]);
    saved_[id - 1].clear();
  }
  void show_picture() override { ++pictures; }
  void show_update() override {}
  PlotEvent next_event() override {
    if (next_ >= events_.size()) throw PlotScriptExhausted();
    return events_[next_++];
  }

 private:
  void set(long x, long y, int c) {
    if (x >= 0 && y >= 0 && x < kW && y < kH) raster[y * kW + x] = c;
  }
  // Steps along the longer axis over the clipped part only, so far-off ends cost nothing.
  void draw(const PlotSegment& s, int c) {
    const bool steep = std::abs(s.y2 - s.y1) > std::abs(s.x2 - s.x1);
    long a1 = steep ? s.y1 : s.x1, a2 = steep ? s.y2 : s.x2, b1 = steep ? s.x1 : s.y1,
         b2 = steep ? s.x2 : s.y2;
    if (a1 > a2) std::swap(a1, a2), std::swap(b1, b2);
    for (long a = std::max<long>(a1, clip[steep]); a <= std::min<long>(a2, clip[2 + steep] - 1);
         ++a) {
      const long b =
          a1 == a2 ? b1 : b1 + std::lround(double(a - a1) * double(b2 - b1) / double(a2 - a1));
      const long x = steep ? b : a, y = steep ? a : b;
      if (x >= clip[0] && y >= clip[1] && x < clip[2] && y < clip[3]) set(x, y, c);
    }
  }
  bool open_ = false;
  std::vector<PlotEvent> events_;
  std::size_t next_ = 0;
  std::vector<int> saved_[2];
};

}  // namespace refx
