#pragma once
// The plot window of refx_lin: an X11 window drawn through Xlib. Xlib's own header stays in
// the .cpp, away from the rest of the program.
#include <memory>

#include "plot/plot_window.h"

namespace refx {

class XlibPlotWindow : public PlotWindow {
 public:
  // The window's size in pixels (the configuration's maxx and maxy).
  XlibPlotWindow(int width, int height);
  ~XlibPlotWindow() override;
  XlibPlotWindow(const XlibPlotWindow&) = delete;
  XlibPlotWindow& operator=(const XlibPlotWindow&) = delete;

  // Opens the display named by the environment; without one, throws PlotWindowUnavailable
  // with "Can't connect to server" and the system's error text.
  PlotArea open() override;
  bool is_open() const override;
  void close() override;
  int char_width() const override { return TEXTWIDTH_PIX; }
  int char_height() const override { return TEXTHEIGHT_PIX; }
  int cursor_left_code() const override { return 0x96; }   // low byte of KP_Left
  int cursor_right_code() const override { return 0x98; }  // low byte of KP_Right

  void line(int x1, int y1, int x2, int y2, int colour) override;
  void lines(const PlotSegment* segments, std::size_t count, int colour) override;
  void text(int x, int y, const std::string& text) override;
  void clear() override;
  void clear_band(int x, int y, int width, int height) override;
  void clip_to_window() override;
  void clip_to_area(int left, int top, int right, int bottom) override;
  void save_column(int cursor, int x, int top, int height) override;
  void restore_column(int cursor, int x, int top, int height) override;
  void show_picture() override;
  void show_update() override;
  PlotEvent next_event() override;

  // Waits until the server has done everything asked of it (for timing the drawing).
  void sync();

  static constexpr int TEXTHEIGHT_PIX = 8;
  static constexpr int TEXTWIDTH_PIX = 8;

 private:
  struct X;
  int window_width, window_height;
  std::unique_ptr<X> x;  // null while the window is closed
};

}  // namespace refx
