#pragma once
// A PlotWindow that forwards everything to another one but draws a batch of segments one
// line at a time: the reference for timing batched drawing (bench/plot_redraw_bench.cpp).
#include "plot/plot_window.h"

namespace refx {

class LineByLineWindow : public PlotWindow {
 public:
  explicit LineByLineWindow(PlotWindow& inner) : w_(inner) {}
  PlotArea open() override { return w_.open(); }
  bool is_open() const override { return w_.is_open(); }
  void close() override { w_.close(); }
  int char_width() const override { return w_.char_width(); }
  int char_height() const override { return w_.char_height(); }
  int cursor_left_code() const override { return w_.cursor_left_code(); }
  int cursor_right_code() const override { return w_.cursor_right_code(); }
  void line(int x1, int y1, int x2, int y2, int c) override { w_.line(x1, y1, x2, y2, c); }
  void lines(const PlotSegment* s, std::size_t n, int c) override {
    for (std::size_t i = 0; i < n; ++i) w_.line(s[i].x1, s[i].y1, s[i].x2, s[i].y2, c);
  }
  void text(int x, int y, const std::string& t) override { w_.text(x, y, t); }
  void clear() override { w_.clear(); }
  void clear_band(int x, int y, int w, int h) override { w_.clear_band(x, y, w, h); }
  void clip_to_window() override { w_.clip_to_window(); }
  void clip_to_area(int l, int t, int r, int b) override { w_.clip_to_area(l, t, r, b); }
  void save_column(int c, int x, int t, int h) override { w_.save_column(c, x, t, h); }
  void restore_column(int c, int x, int t, int h) override { w_.restore_column(c, x, t, h); }
  void show_picture() override { w_.show_picture(); }
  void show_update() override { w_.show_update(); }
  PlotEvent next_event() override { return w_.next_event(); }

 private:
  PlotWindow& w_;
};

}  // namespace refx
