#pragma once
// The PlotWindow seam: everything the plotter does with a graphics window. Axis layout, trace
// drawing and the viewer are written once against it; each platform supplies one layer
// (Xlib in plot/plot_lin, GDI in plot/gdi) and the tests a recording double.
//
// All coordinates are int pixels of the window; rows grow downwards. Colours are the numbers
// 1 to 7 (white, blue, green, red, yellow, magenta, cyan); a layer with a single foreground
// colour ignores the number. The dotted line, the rectangle and the text width are written
// once over these operations (plot/drawing.h).
#include <cstddef>
#include <string>

namespace refx {

// The pixel edges of the plot area, named after the values they show: maxy (top) < miny
// (bottom) as rows.
struct PlotArea {
  int minx = 0, maxx = 0, maxy = 0, miny = 0;
};

struct PlotSegment {
  int x1, y1, x2, y2;
};

// What ended a wait: a key press with its 8-bit key code, a request from the window manager
// to close the window, or another event (an exposure, a mouse button) that carries no key.
struct PlotEvent {
  bool is_key = false;
  int code = 0;
  bool close_request = false;
};

// Thrown by open() when no window can be made (no X display): the viewer gives up and the
// menu reports the message and carries on with its data.
struct PlotWindowUnavailable {
  std::string message;
};

class PlotWindow {
 public:
  virtual ~PlotWindow() = default;

  // Opens the window if it is not open and returns the plot area's edges, computed anew at
  // every opening. Throws PlotWindowUnavailable when no window can be opened.
  virtual PlotArea open() = 0;
  virtual bool is_open() const = 0;
  // Closes the window if it is open; the next open() makes a fresh one.
  virtual void close() = 0;

  // Character cell of the window's font in pixels (8 x 8 for the X server's default font);
  // valid once the window is open. Label positions and text widths use these.
  virtual int char_width() const = 0;
  virtual int char_height() const = 0;

  // Cursor keys of this platform, as next_event() reports them.
  virtual int cursor_left_code() const = 0;
  virtual int cursor_right_code() const = 0;

  virtual void line(int x1, int y1, int x2, int y2, int colour) = 0;
  // Many segments at once in one colour: the same pixels as one line() per segment.
  virtual void lines(const PlotSegment* segments, std::size_t count, int colour) = 0;
  // Left end at x, baseline at y, in the colour the last line was drawn in.
  virtual void text(int x, int y, const std::string& text) = 0;

  // Fills the whole window, or a band of it, with the background.
  virtual void clear() = 0;
  virtual void clear_band(int x, int y, int width, int height) = 0;

  // Later drawing is limited to the whole window, or to the rectangle from (left, top) to
  // (right, bottom) with the right column and bottom row left out.
  virtual void clip_to_window() = 0;
  virtual void clip_to_area(int left, int top, int right, int bottom) = 0;

  // Keeps the pixels of the one-pixel column at x, rows top to top + height - 1, under
  // cursor 1 or 2, and puts them back; a restore without a save does nothing.
  virtual void save_column(int cursor, int x, int top, int height) = 0;
  virtual void restore_column(int cursor, int x, int top, int height) = 0;

  // A complete plot has been drawn: make it visible (and, where the layer repaints from a
  // copy, keep it as the picture the cursors are erased back to).
  virtual void show_picture() = 0;
  // A cursor or read-out changed: make that visible (and part of the repaint copy).
  virtual void show_update() = 0;

  // Blocks until the next event of the window.
  virtual PlotEvent next_event() = 0;
};

}  // namespace refx
