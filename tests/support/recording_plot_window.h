#pragma once
// A PlotWindow for tests: keeps a pixel raster of what was drawn (colour numbers, 0 for the
// background), the texts on it, every call made, and feeds key events from a script.
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
  static constexpr int kLeft = 0x96, kRight = 0x98;  // the Linux keypad arrows

  explicit RecordingPlotWindow(int width = 1000, int height = 800, int char_size = 8);

  // Each character becomes one key press; '<' and '>' stand for cursor-left and -right.
  void type(const std::string& keys);
  void push_key(int code) { events_.push_back({true, code}); }
  void push_exposure() { events_.push_back({false, 0}); }

  PlotArea open() override;
  bool is_open() const override { return open_; }
  void close() override;
  int char_width() const override { return char_size_; }
  int char_height() const override { return char_size_; }
  int cursor_left_code() const override { return kLeft; }
  int cursor_right_code() const override { return kRight; }
  void line(int x1, int y1, int x2, int y2, int colour) override;
  void lines(const PlotSegment* segments, std::size_t count, int colour) override;
  void text(int x, int y, const std::string& text) override;
  void clear() override;
  void clear_band(int x, int y, int width, int height) override;
  void clip_to_window() override;
  void clip_to_area(int left, int top, int right, int bottom) override;
  void save_column(int cursor, int x, int top, int height) override;
  void restore_column(int cursor, int x, int top, int height) override;
  void show_picture() override { ++pictures_; }
  void show_update() override {}
  PlotEvent next_event() override;

  int pixel(int x, int y) const;
  // Lit pixels of column x between rows top and bottom (inclusive).
  int lit_in_column(int x, int top, int bottom) const;
  const std::vector<ShownText>& texts() const { return texts_; }
  bool shows_text(const std::string& text) const;
  // Segments handed to lines() since the window was last cleared.
  const std::vector<PlotSegment>& trace() const { return trace_; }
  // One line per call, e.g. "line 1 2 3 4 c1", "clear", "save 1 500 100 601".
  const std::vector<std::string>& calls() const { return calls_; }
  int opens() const { return opens_; }
  int closes() const { return closes_; }
  int pictures() const { return pictures_; }
  std::size_t events_left() const { return events_.size() - next_event_; }

 private:
  void plot_pixel(int x, int y, int colour);
  void draw(int x1, int y1, int x2, int y2, int colour);

  int width_, height_, char_size_;
  bool open_ = false;
  std::vector<int> raster_;
  int clip_x_ = 0, clip_y_ = 0, clip_w_ = 0, clip_h_ = 0;
  std::vector<int> saved_[2];
  bool has_saved_[2] = {false, false};
  std::vector<ShownText> texts_;
  std::vector<PlotSegment> trace_;
  std::vector<std::string> calls_;
  std::vector<PlotEvent> events_;
  std::size_t next_event_ = 0;
  int opens_ = 0, closes_ = 0, pictures_ = 0;
};

}  // namespace refx
