#include "plot/plot_lin/xlib_plot_window.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "plot/line_limits.h"
#include "plot/segment_runs.h"

namespace refx {

namespace {

constexpr int maxcolor = 7;
const char* const color_name[maxcolor] = {"white",  "blue",    "green", "red",
                                          "yellow", "magenta", "cyan"};

// A column that cannot be read (off the screen) must not end the program through Xlib's
// default handler: its image simply stays empty. Every other error is reported as before.
XErrorHandler default_handler = nullptr;
int plot_error_handler(Display* display, XErrorEvent* error) {
  if (error->request_code == X_GetImage) return 0;
  return default_handler ? default_handler(display, error) : 0;
}

// The 8-bit key code the viewer compares: the low byte of the key's first keysym. The
// main-block arrows are given the keypad arrows' codes (their own low bytes are those of
// Q, R, S and T); every other function or keypad key gives 0, a key without a command.
int key_code(KeySym sym) {
  switch (sym) {
    case XK_Left:
      return XK_KP_Left & 0xff;
    case XK_Up:
      return XK_KP_Up & 0xff;
    case XK_Right:
      return XK_KP_Right & 0xff;
    case XK_Down:
      return XK_KP_Down & 0xff;
    case XK_KP_Left:
    case XK_KP_Up:
    case XK_KP_Right:
    case XK_KP_Down:
      return static_cast<int>(sym & 0xff);
    default:
      return (sym & 0xff00) == 0xff00 ? 0 : static_cast<int>(sym & 0xff);
  }
}

// Fills an XSegment; false when nothing of the line lies within the drawable limits.
bool to_segment(int x1, int y1, int x2, int y2, XSegment& out) {
  long a = x1, b = y1, c = x2, d = y2;
  if (!limit_line(a, b, c, d)) return false;
  out = {static_cast<short>(a), static_cast<short>(b), static_cast<short>(c),
         static_cast<short>(d)};
  return true;
}

}  // namespace

struct XlibPlotWindow::X {
  Display* display = nullptr;
  int screen = 0;
  Screen* screen_pointer = nullptr;
  Window win = 0;
  GC gc1 = nullptr;
  XGCValues gs1{};
  Colormap colormap_val = 0;
  unsigned long pixel_values[maxcolor] = {};
  XImage* save_image[2] = {nullptr, nullptr};
  XRectangle clip_rectangle{};
  Atom wm_delete_window = 0;  // the window manager's close request
  unsigned width = 0, height = 0;  // as XGetGeometry reported at opening

  void set_foreground(int colour) {
    if (colour < 1 || colour > maxcolor) colour = 1;
    XSetForeground(display, gc1, pixel_values[colour - 1]);
  }

  void setupGC(GC* gc, XGCValues* values, int colour) {
    *gc = XCreateGC(display, win, 0, values);
    set_foreground(colour);
    XSetBackground(display, *gc, BlackPixel(display, screen));
    XSetLineAttributes(display, *gc, 1, LineSolid, CapRound, JoinRound);
    XSetFillStyle(display, *gc, FillSolid);
  }

  void set_clip(int x, int y, int w, int h) {
    clip_rectangle.x = static_cast<short>(x);
    clip_rectangle.y = static_cast<short>(y);
    clip_rectangle.width = static_cast<unsigned short>(std::max(w, 0));
    clip_rectangle.height = static_cast<unsigned short>(std::max(h, 0));
    XSetClipRectangles(display, gc1, 0, 0, &clip_rectangle, 1, Unsorted);
  }

  // XGetImage fails on a column outside the window.
  bool column_inside(int cx, int top, int h) const {
    return cx >= 0 && cx < static_cast<int>(width) && top >= 0 && h > 0 &&
           top + h <= static_cast<int>(height);
  }

  void drop_image(int cursor) {
    if (save_image[cursor]) XDestroyImage(save_image[cursor]);
    save_image[cursor] = nullptr;
  }
};

XlibPlotWindow::XlibPlotWindow(int width, int height)
    : window_width(width), window_height(height) {}

XlibPlotWindow::~XlibPlotWindow() {
  close();
}

bool XlibPlotWindow::is_open() const {
  return x != nullptr;
}

PlotArea XlibPlotWindow::open() {
  if (!x) {
    errno = 0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
      const int error = errno;
      std::string message = "Can't connect to server";
      if (error != 0) message += std::string(": ") + std::strerror(error);
      throw PlotWindowUnavailable{message + "\n"};
    }
    x = std::make_unique<X>();
    X& s = *x;
    s.display = display;
    if (default_handler == nullptr) default_handler = XSetErrorHandler(plot_error_handler);
    s.screen = DefaultScreen(display);
    s.screen_pointer = XDefaultScreenOfDisplay(display);
    s.win = XCreateSimpleWindow(display, RootWindow(display, s.screen), 0, 0,
                                static_cast<unsigned>(window_width),
                                static_cast<unsigned>(window_height), 1,
                                BlackPixel(display, s.screen), BlackPixel(display, s.screen));
    XSelectInput(display, s.win, KeyPressMask | ExposureMask);
    // Closing the window from the window manager comes as a message to the viewer, which
    // leaves as on Q; without this the server would end the whole program.
    s.wm_delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, s.win, &s.wm_delete_window, 1);
    s.colormap_val = XDefaultColormapOfScreen(s.screen_pointer);
    for (int i = 0; i < maxcolor; ++i) {
      XColor screen_colour{}, exact{};
      // A colour the server cannot give is drawn in white rather than in whatever pixel 0 is.
      if (XAllocNamedColor(display, s.colormap_val, color_name[i], &screen_colour, &exact))
        s.pixel_values[i] = screen_colour.pixel;
      else
        s.pixel_values[i] = WhitePixel(display, s.screen);
    }
    s.setupGC(&s.gc1, &s.gs1, 1);
    XMapWindow(display, s.win);
  }
  X& s = *x;
  Window root;
  int gx, gy;
  unsigned border, depth;
  XGetGeometry(s.display, s.win, &root, &gx, &gy, &s.width, &s.height, &border, &depth);
  PlotArea area;
  area.minx = static_cast<int>(s.width / 8);
  area.maxx = static_cast<int>((s.width / 8) * 7);
  area.maxy = static_cast<int>(s.height / 8);
  area.miny = static_cast<int>((s.height / 8) * 7);
  return area;
}

void XlibPlotWindow::close() {
  if (!x) return;
  // The window goes with the connection; the saved columns are client-side images.
  x->drop_image(0);
  x->drop_image(1);
  XFreeGC(x->display, x->gc1);  // the connection frees the server's side, not Xlib's memory
  XCloseDisplay(x->display);
  x.reset();
}

void XlibPlotWindow::line(int x1, int y1, int x2, int y2, int colour) {
  if (!x) return;
  XSegment seg;
  x->set_foreground(colour);
  if (to_segment(x1, y1, x2, y2, seg))
    XDrawLine(x->display, x->win, x->gc1, seg.x1, seg.y1, seg.x2, seg.y2);
}

void XlibPlotWindow::lines(const PlotSegment* segments, std::size_t count, int colour) {
  if (!x) return;
  x->set_foreground(colour);
  // The server's line drawing bounds a long trace's redraw; a column's chained vertical
  // segments are handed over as one (the same pixels, tests/tools/column_runs_vs_x).
  std::vector<PlotSegment> joined(segments, segments + count);
  joined.resize(join_column_runs(joined.data(), joined.size()));
  constexpr std::size_t kBatch = 8192;  // well inside the smallest request size
  std::vector<XSegment> batch;
  batch.reserve(std::min(joined.size(), kBatch));
  for (std::size_t i = 0; i < joined.size(); ++i) {
    XSegment seg;
    const PlotSegment& p = joined[i];
    if (to_segment(p.x1, p.y1, p.x2, p.y2, seg)) batch.push_back(seg);
    if (batch.size() == kBatch || i + 1 == joined.size()) {
      if (!batch.empty())
        XDrawSegments(x->display, x->win, x->gc1, batch.data(), static_cast<int>(batch.size()));
      batch.clear();
    }
  }
}

void XlibPlotWindow::text(int tx, int ty, const std::string& text) {
  if (!x) return;
  XDrawString(x->display, x->win, x->gc1, tx, ty, text.c_str(), static_cast<int>(text.size()));
}

void XlibPlotWindow::clear() {
  if (x) XClearWindow(x->display, x->win);
}

void XlibPlotWindow::clear_band(int bx, int by, int width, int height) {
  if (!x || width <= 0 || height <= 0) return;  // a zero size would clear to the window's edge
  XClearArea(x->display, x->win, bx, by, static_cast<unsigned>(width),
             static_cast<unsigned>(height), False);
}

void XlibPlotWindow::clip_to_window() {
  if (x) x->set_clip(0, 0, static_cast<int>(x->width), static_cast<int>(x->height));
}

void XlibPlotWindow::clip_to_area(int left, int top, int right, int bottom) {
  if (x) x->set_clip(left, top, right - left, bottom - top);
}

void XlibPlotWindow::save_column(int cursor, int cx, int top, int height) {
  if (!x || (cursor != 1 && cursor != 2)) return;
  x->drop_image(cursor - 1);
  if (!x->column_inside(cx, top, height)) return;
  x->save_image[cursor - 1] =
      XGetImage(x->display, x->win, cx, top, 1, static_cast<unsigned>(height), AllPlanes, XYPixmap);
}

void XlibPlotWindow::restore_column(int cursor, int cx, int top, int) {
  if (!x || (cursor != 1 && cursor != 2)) return;
  XImage* image = x->save_image[cursor - 1];
  if (image == nullptr) return;
  XPutImage(x->display, x->win, x->gc1, image, image->xoffset, 0, cx, top,
            static_cast<unsigned>(image->width), static_cast<unsigned>(image->height));
  x->drop_image(cursor - 1);
}

void XlibPlotWindow::show_picture() {
  if (!x) return;
  XMapWindow(x->display, x->win);
  XFlush(x->display);
}

void XlibPlotWindow::show_update() {
  if (x) XFlush(x->display);
}

void XlibPlotWindow::sync() {
  if (x) XSync(x->display, False);
}

PlotEvent XlibPlotWindow::next_event() {
  PlotEvent result;
  if (!x) return result;
  XEvent event;
  XNextEvent(x->display, &event);
  if (event.type == KeyPress) {
    int per_code = 0;
    KeySym* syms =
        XGetKeyboardMapping(x->display, static_cast<KeyCode>(event.xkey.keycode), 1, &per_code);
    result.is_key = true;
    result.code = syms && per_code > 0 ? key_code(syms[0]) : 0;
    if (syms) XFree(syms);
  } else if (event.type == ClientMessage &&
             static_cast<Atom>(event.xclient.data.l[0]) == x->wm_delete_window) {
    result.close_request = true;
  }
  return result;
}

}  // namespace refx
