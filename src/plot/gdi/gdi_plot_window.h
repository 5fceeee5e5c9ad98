#pragma once
// The plot window of refx_win: a GDI window of the class "PlotWindowClass" that keeps the
// finished picture in a memory device context and repaints from it. windows.h stays in the
// .cpp, away from the rest of the program.
#include <memory>
#include <string>

#include "plot/plot_window.h"

namespace refx {

struct Program;
class Console;

class GdiPlotWindow : public PlotWindow {
 public:
  // Colours and plot-area edges come from the configuration held in p; fatal errors are
  // reported on con before the program ends.
  GdiPlotWindow(const Program& p, Console& con);
  ~GdiPlotWindow() override;
  GdiPlotWindow(const GdiPlotWindow&) = delete;
  GdiPlotWindow& operator=(const GdiPlotWindow&) = delete;

  // Opens a window covering the desktop work area and sets up its device contexts; the
  // edges are the client origin plus (client extent / divisor) x multiplier.
  PlotArea open() override;
  bool is_open() const override;
  void close() override;
  int char_width() const override;
  int char_height() const override;
  int cursor_left_code() const override { return 0x25; }   // VK_LEFT
  int cursor_right_code() const override { return 0x27; }  // VK_RIGHT

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
  // Pumps the window's messages until a key or a mouse button; only a key carries a code.
  PlotEvent next_event() override;

  // One step of the message pump, for the console's waits; false while no window exists.
  bool pump();
  // Closes the window and frees the background brush too: the program's way out.
  void release_all();

  struct Gdi;

 private:
  // Prints message, the termination lines, waits for a key and ends the program.
  [[noreturn]] void fatal(const std::string& message);
  void set_up_contexts(PlotArea& area);
  // Acts on a fatal condition the window procedure could only note.
  void check_pending_fatal();

  const Program& program;
  Console& console;
  std::unique_ptr<Gdi> g;
};

}  // namespace refx
