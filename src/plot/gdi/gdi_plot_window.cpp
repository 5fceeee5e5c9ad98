#include "plot/gdi/gdi_plot_window.h"

#include <windows.h>

#include "console/console.h"
#include "core/fatal.h"
#include "core/program.h"

namespace refx {

struct GdiPlotWindow::Gdi {
  HWND plot_window_handle = nullptr;
  HDC window_device_context = nullptr;
  HDC memory_device_context = nullptr;
  HDC cursor_save_context = nullptr;
  HBITMAP memory_bitmap = nullptr, cursor_save_bitmap = nullptr;
  HBITMAP memory_old_bitmap = nullptr, cursor_save_old_bitmap = nullptr;
  COLORREF foreground_colorref = 0, background_colorref = 0;
  HBRUSH background_brush = nullptr;
  RECT client_rect{};
  int client_width = 0, client_height = 0;
  int text_height_pix = 0, text_width_pix = 0;
  HRGN plot_region = nullptr;
  int window_event_kind = 0;  // 0 none, 1 key, 2 left button down, 3 left button up, 4 close
  int window_key_code = 0;
  const char* pending_fatal = nullptr;  // noted by the window procedure, acted on after it
};

namespace {

const char kClassName[] = "PlotWindowClass";
constexpr DWORD kIdleWaitMs = 20;
bool class_registered = false;
// The one window's state, for the window procedure; null while no layer exists.
GdiPlotWindow::Gdi* active = nullptr;

COLORREF pack_rgb(const int rgb[3]) {
  return static_cast<COLORREF>((rgb[0] & 0xff) + 256 * (rgb[1] & 0xff) + 65536 * (rgb[2] & 0xff));
}

// Origin plus (extent / divisor) x multiplier. A divisor of 0 would end the program with a
// division fault: that edge stays at the origin instead.
int edge(int origin, int extent, int divisor, int multiplier) {
  return divisor == 0 ? origin : origin + (extent / divisor) * multiplier;
}

void transfer_device_context(HDC src, HDC dst, int x, int y, int w, int h, Console& con) {
  if (src == nullptr || dst == nullptr) return;
  if (!BitBlt(dst, x, y, w, h, src, x, y, SRCCOPY)) {
    con.print("Error with BitBlt in transfer_device_context\n");
    con.print("Press any A/N key to continue\n");
    con.refresh();
    con.wait_for_key();
  }
}

// The key code the viewer compares: the virtual-key code, except that the keypad digits and
// operators and the function keys (0x60 to 0x87) give 0, a key without a command: their
// codes are those of the lower-case letters, so F2 would act as Q and F5 as T.
int viewer_key_code(WPARAM vk) {
  const int code = static_cast<int>(vk & 0xff);
  return code >= VK_NUMPAD0 && code <= VK_F24 ? 0 : code;
}

// The repaint: the last complete picture from the memory context.
void paint(GdiPlotWindow::Gdi& s, HWND window) {
  if (s.memory_device_context == nullptr || s.window_device_context == nullptr) return;
  HRGN region = CreateRectRgnIndirect(&s.client_rect);
  if (region == nullptr) {
    s.pending_fatal = "Error in CreateRectRgn in window callback function\n";
    return;
  }
  int r = SelectClipRgn(s.memory_device_context, region);
  if (r == NULLREGION || r == ERROR) {
    s.pending_fatal = "Error with memory_device_context SelectClipRgn in WM_PAINT interrupt\n";
  } else if ((r = SelectClipRgn(s.window_device_context, region)) == NULLREGION) {
    s.pending_fatal =
        "Error with window_device_context SelectClipRgn in WM_PAINT interrupt\nNULLREGION error\n";
  } else if (r == ERROR) {
    s.pending_fatal =
        "Error with window_device_context SelectClipRgn in WM_PAINT interrupt\nERROR error\n";
  } else {
    BitBlt(s.window_device_context, 0, 0, s.client_width, s.client_height, s.memory_device_context,
           0, 0, SRCCOPY);
    ValidateRgn(window, nullptr);
  }
  DeleteObject(region);
}

LRESULT CALLBACK plot_window_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (active != nullptr) {
    switch (message) {
      case WM_PAINT:
        paint(*active, window);
        break;
      case WM_KEYDOWN:
        active->window_event_kind = 1;
        active->window_key_code = viewer_key_code(wParam);
        break;
      case WM_LBUTTONDOWN:
        active->window_event_kind = 2;
        break;
      case WM_LBUTTONUP:
        active->window_event_kind = 3;
        break;
      case WM_CLOSE:
        // A close request leaves the viewer as Q does; the menu then closes the window, so
        // it never goes under the viewer's feet.
        active->window_event_kind = 4;
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// One step of the pump: takes one waiting message of the plot window, if any.
int process_window_message(HWND window) {
  MSG msg;
  if (!PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE)) return 0;
  const BOOL result = GetMessageA(&msg, window, 0, 0);
  if (result >= 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return result;
}

}  // namespace

GdiPlotWindow::GdiPlotWindow(const Program& p, Console& con)
    : program(p), console(con), g(std::make_unique<Gdi>()) {
  active = g.get();
}

GdiPlotWindow::~GdiPlotWindow() {
  release_all();
  active = nullptr;
}

void GdiPlotWindow::fatal(const std::string& message) {
  console.print(message);
  console.print("Program will be terminated\n");
  console.print("Press any A/N key to continue\n");
  console.refresh();
  console.wait_for_key();
  terminate_program();  // the way out frees the window and its objects
}

void GdiPlotWindow::check_pending_fatal() {
  if (g->pending_fatal == nullptr) return;
  const std::string message = g->pending_fatal;
  g->pending_fatal = nullptr;
  fatal(message);
}

bool GdiPlotWindow::is_open() const {
  return g->plot_window_handle != nullptr;
}

int GdiPlotWindow::char_width() const {
  return g->text_width_pix;
}

int GdiPlotWindow::char_height() const {
  return g->text_height_pix;
}

PlotArea GdiPlotWindow::open() {
  Gdi& s = *g;
  if (s.plot_window_handle == nullptr) {
    s.foreground_colorref = pack_rgb(program.foreground_rgb);
    s.background_colorref = pack_rgb(program.background_rgb);
    if (s.background_brush != nullptr) DeleteObject(s.background_brush);
    s.background_brush = CreateSolidBrush(s.background_colorref);
    if (s.background_brush == nullptr) fatal("Error with CreateSolidBrush\n");

    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
      fatal("Error - unable to obtain system parameters info\n");

    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!class_registered) {
      WNDCLASSA wc{};
      wc.style = CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS | CS_GLOBALCLASS;
      wc.lpfnWndProc = plot_window_procedure;
      wc.hInstance = instance;
      wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      wc.lpszMenuName = "Plot";
      wc.lpszClassName = kClassName;
      if (!RegisterClassA(&wc)) fatal("Error - failed to register window class\n");
      class_registered = true;
    }
    s.plot_window_handle =
        CreateWindowExA(WS_EX_LEFT, kClassName, "GRAPHICS_WINDOW", WS_OVERLAPPEDWINDOW, work.left,
                        work.top, work.right, work.bottom, nullptr, nullptr, instance, nullptr);
    if (s.plot_window_handle == nullptr) fatal("Error - failed to create window\n");
    EnableWindow(s.plot_window_handle, TRUE);
    ShowWindow(s.plot_window_handle, SW_SHOW);
  }
  PlotArea area;
  set_up_contexts(area);
  return area;
}

void GdiPlotWindow::set_up_contexts(PlotArea& area) {
  Gdi& s = *g;
  HWND window = s.plot_window_handle;
  if (s.window_device_context != nullptr) ReleaseDC(window, s.window_device_context);
  s.window_device_context = GetDC(window);
  HDC dc = s.window_device_context;
  if (dc == nullptr) fatal("Error - could not set up window_device_context\n");

  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, s.foreground_colorref);
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, s.foreground_colorref);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  SetTextColor(dc, s.foreground_colorref);
  SetBkColor(dc, s.background_colorref);
  SetTextAlign(dc, TA_BASELINE);

  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  s.text_height_pix = tm.tmHeight;
  s.text_width_pix = tm.tmAveCharWidth;

  if (!GetClientRect(window, &s.client_rect)) fatal("Error in GetClientRect\n");
  s.client_width = s.client_rect.right - s.client_rect.left;
  s.client_height = s.client_rect.bottom - s.client_rect.top;

  // A reopening on the same window makes its memory contexts anew.
  auto drop = [](HDC& mdc, HBITMAP& bitmap, HBITMAP old) {
    if (mdc != nullptr) {
      SelectObject(mdc, old);
      DeleteDC(mdc);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    mdc = nullptr;
    bitmap = nullptr;
  };
  drop(s.cursor_save_context, s.cursor_save_bitmap, s.cursor_save_old_bitmap);
  drop(s.memory_device_context, s.memory_bitmap, s.memory_old_bitmap);
  auto make = [&](HDC& mdc, HBITMAP& bitmap, HBITMAP& old) {
    mdc = CreateCompatibleDC(dc);
    bitmap = CreateCompatibleBitmap(dc, s.client_width, s.client_height);
    old = static_cast<HBITMAP>(SelectObject(mdc, bitmap));
  };
  make(s.cursor_save_context, s.cursor_save_bitmap, s.cursor_save_old_bitmap);
  make(s.memory_device_context, s.memory_bitmap, s.memory_old_bitmap);

  POINT pointer{s.client_rect.left + (s.client_rect.right - s.client_rect.left) / 4,
                s.client_rect.top + (s.client_rect.bottom - s.client_rect.top) / 4};
  if (!ClientToScreen(window, &pointer)) fatal("Error in ClientToScreen\n");
  SetCursorPos(pointer.x, pointer.y);

  if (s.plot_region != nullptr) DeleteObject(s.plot_region);
  s.plot_region = CreateRectRgnIndirect(&s.client_rect);
  if (s.plot_region == nullptr) fatal("Error in CreateRectRgn\n");
  SelectClipRgn(dc, s.plot_region);
  SelectClipRgn(s.memory_device_context, s.plot_region);
  SelectClipRgn(s.cursor_save_context, s.plot_region);
  FillRect(dc, &s.client_rect, s.background_brush);
  FillRect(s.memory_device_context, &s.client_rect, s.background_brush);

  SetForegroundWindow(window);

  const int* d = program.plot_area_divisor;
  const int* m = program.plot_area_multiplier;
  const int left = s.client_rect.left, top = s.client_rect.top;
  area.minx = edge(left, s.client_width, d[0], m[0]);
  area.maxx = edge(left, s.client_width, d[1], m[1]);
  area.miny = edge(top, s.client_height, d[2], m[2]);
  area.maxy = edge(top, s.client_height, d[3], m[3]);
}

void GdiPlotWindow::close() {
  Gdi& s = *g;
  if (s.plot_window_handle != nullptr) {
    if (s.window_device_context != nullptr)
      ReleaseDC(s.plot_window_handle, s.window_device_context);
    CloseWindow(s.plot_window_handle);
    DestroyWindow(s.plot_window_handle);
    s.plot_window_handle = nullptr;
  }
  s.window_device_context = nullptr;
  for (HDC* mdc : {&s.memory_device_context, &s.cursor_save_context}) {
    if (*mdc != nullptr) DeleteDC(*mdc);  // its bitmap is deselected with it
    *mdc = nullptr;
  }
  for (HBITMAP* bitmap : {&s.memory_bitmap, &s.cursor_save_bitmap}) {
    if (*bitmap != nullptr) DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
  if (s.plot_region != nullptr) DeleteObject(s.plot_region);
  s.plot_region = nullptr;
  s.window_event_kind = 0;
}

void GdiPlotWindow::release_all() {
  close();
  if (g->background_brush != nullptr) DeleteObject(g->background_brush);
  g->background_brush = nullptr;
}

void GdiPlotWindow::line(int x1, int y1, int x2, int y2, int colour) {
  const PlotSegment one{x1, y1, x2, y2};
  lines(&one, 1, colour);
}

void GdiPlotWindow::lines(const PlotSegment* segments, std::size_t count, int) {
  HDC dc = g->window_device_context;
  if (dc == nullptr) return;
  // The foreground colour on the stock pen and brush.
  const COLORREF pen = SetDCPenColor(dc, g->foreground_colorref);
  if (SelectObject(dc, GetStockObject(DC_BRUSH)) == nullptr)
    fatal("Error in SelectObject in set_foreground_color()\n");
  SetDCBrushColor(dc, g->foreground_colorref);
  if (pen == CLR_INVALID) fatal("Error with SetDCPenColor in set_foreground_color()\n");
  for (std::size_t i = 0; i < count; ++i) {
    MoveToEx(dc, segments[i].x1, segments[i].y1, nullptr);
    LineTo(dc, segments[i].x2, segments[i].y2);
  }
}

void GdiPlotWindow::text(int x, int y, const std::string& text) {
  if (g->window_device_context != nullptr)
    TextOutA(g->window_device_context, x, y, text.c_str(), static_cast<int>(text.size()));
}

void GdiPlotWindow::clear() {
  if (g->window_device_context != nullptr)
    FillRect(g->window_device_context, &g->client_rect, g->background_brush);
}

void GdiPlotWindow::clear_band(int x, int y, int width, int height) {
  if (g->window_device_context == nullptr) return;
  const RECT band{x, y, x + width, y + height};
  FillRect(g->window_device_context, &band, g->background_brush);
}

void GdiPlotWindow::clip_to_window() {
  clip_to_area(g->client_rect.left, g->client_rect.top, g->client_rect.right,
               g->client_rect.bottom);
}

void GdiPlotWindow::clip_to_area(int left, int top, int right, int bottom) {
  Gdi& s = *g;
  if (s.window_device_context == nullptr) return;
  if (s.plot_region != nullptr) DeleteObject(s.plot_region);
  s.plot_region = CreateRectRgn(left, top, right, bottom);
  if (s.plot_region == nullptr) fatal("Error in CreateRectRgn in plot()\n");
  SelectClipRgn(s.window_device_context, s.plot_region);
}

void GdiPlotWindow::save_column(int, int x, int top, int height) {
  transfer_device_context(g->window_device_context, g->cursor_save_context, x, top, 1, height,
                          console);
}

void GdiPlotWindow::restore_column(int, int x, int top, int height) {
  transfer_device_context(g->cursor_save_context, g->window_device_context, x, top, 1, height,
                          console);
}

void GdiPlotWindow::show_picture() {
  Gdi& s = *g;
  if (s.window_device_context == nullptr) return;
  transfer_device_context(s.window_device_context, s.memory_device_context, 0, 0, s.client_width,
                          s.client_height, console);
  transfer_device_context(s.window_device_context, s.cursor_save_context, 0, 0, s.client_width,
                          s.client_height, console);
  InvalidateRgn(s.plot_window_handle, nullptr, TRUE);
}

void GdiPlotWindow::show_update() {
  Gdi& s = *g;
  transfer_device_context(s.window_device_context, s.memory_device_context, 0, 0, s.client_width,
                          s.client_height, console);
}

bool GdiPlotWindow::pump() {
  if (g->plot_window_handle == nullptr) return false;
  process_window_message(g->plot_window_handle);
  check_pending_fatal();
  return true;
}

PlotEvent GdiPlotWindow::next_event() {
  Gdi& s = *g;
  PlotEvent result;
  while (s.plot_window_handle != nullptr && s.window_event_kind == 0) {
    // Sleeps until a message arrives (or a short while) rather than spinning.
    if (process_window_message(s.plot_window_handle) == 0)
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleWaitMs, QS_ALLINPUT);
    check_pending_fatal();
  }
  if (s.window_event_kind == 1) {
    result.is_key = true;
    result.code = s.window_key_code;
  }
  result.close_request = s.window_event_kind == 4;
  // A mouse button ends this wait only; the next wait waits for a new event.
  s.window_event_kind = 0;
  return result;
}

}  // namespace refx
