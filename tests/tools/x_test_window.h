// The window the X comparison tools draw into: mapped, black, with a white graphics context
// of width-1 solid lines with round caps and joins, as the Xlib plot layer draws.
#pragma once
#include <X11/Xlib.h>

struct XTestWindow {
  Display* d = nullptr;
  Window win = 0;
  GC gc = nullptr;
};

// Opens the display and the window; d stays null when no display can be opened.
inline XTestWindow open_x_test_window(int width, int height) {
  XTestWindow t;
  t.d = XOpenDisplay(nullptr);
  if (t.d == nullptr) return t;
  const int s = DefaultScreen(t.d);
  t.win = XCreateSimpleWindow(t.d, RootWindow(t.d, s), 0, 0, width, height, 1, BlackPixel(t.d, s),
                              BlackPixel(t.d, s));
  XMapWindow(t.d, t.win);
  t.gc = XCreateGC(t.d, t.win, 0, nullptr);
  XSetForeground(t.d, t.gc, WhitePixel(t.d, s));
  XSetLineAttributes(t.d, t.gc, 1, LineSolid, CapRound, JoinRound);
  return t;
}
