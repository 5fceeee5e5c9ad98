#include "console/wincon/windows_console.h"

#include <conio.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace refx {

namespace {

// How long one wait for the plot window's messages lasts before the keyboard is
// polled again.
constexpr DWORD kPumpWaitMs = 10;

// The console input is signalled by events _kbhit does not count (key releases, focus,
// mouse): they are read away, else every wait would end at once.
void drop_keyless_events(HANDLE input) {
  INPUT_RECORD events[16];
  DWORD count = 0;
  if (!PeekConsoleInputA(input, events, 16, &count) || count == 0) return;
  DWORD keyless = 0;
  while (keyless < count &&
         !(events[keyless].EventType == KEY_EVENT && events[keyless].Event.KeyEvent.bKeyDown))
    ++keyless;
  if (keyless > 0)
    ReadConsoleInputA(input, events, keyless, &count);
  else
    Sleep(kPumpWaitMs);  // a key press _kbhit ignores (a shift key): try again shortly
}

bool is_extended_prefix(int c) {
  return c == 0 || c == 0xE0;
}

}  // namespace

int ascii_upper(int c) {
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

WindowsConsole::WindowsConsole() : entry_(stdin, stdout) {
  // Output is gathered and shown at each refresh, clear and read: one console write per
  // screen rather than one per line.
  std::setvbuf(stdout, nullptr, _IOFBF, 1 << 14);
}

void WindowsConsole::clear() {
  std::fflush(stdout);
  std::system("cls");
}

void WindowsConsole::print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void WindowsConsole::refresh() {
  std::fflush(stdout);
}

int WindowsConsole::take_key() {
  int c = _getch();
  // A console that has gone delivers EOF for ever: counted like a failed line read.
  if (!entry_.note_read(c != EOF)) return -1;
  return c;
}

void WindowsConsole::await_key() {
  std::fflush(stdout);
  // Without a plot window _getch itself waits; with one, the window is serviced until a
  // key comes, without keeping a processor busy. The wait includes the console input:
  // wine's console hands typed keys over only to a reader that waits on it.
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  while (plot_.pump && !_kbhit() && plot_.pump()) {
    if (MsgWaitForMultipleObjects(1, &input, FALSE, kPumpWaitMs, QS_ALLINPUT) == WAIT_OBJECT_0)
      drop_keyless_events(input);
  }
}

int WindowsConsole::poll_key(int* hit) {
  if (!_kbhit()) {
    *hit = 0;
    return -1;
  }
  *hit = 1;
  return take_key();
}

int WindowsConsole::read_key() {
  await_key();
  return take_key();
}

int WindowsConsole::get_menu_key() {
  await_key();
  int c = take_key();
  if (is_extended_prefix(c)) {
    int hit = 0;
    int second = poll_key(&hit);
    if (hit) c = second;
  }
  return c;
}

int WindowsConsole::read_main_menu_key() {
  return get_menu_key();
}

int WindowsConsole::wait_for_key() {
  await_key();
  return take_key();
}

bool WindowsConsole::read_line(std::string& line, std::size_t max_chars) {
  return entry_.read_line(line, max_chars);
}

bool WindowsConsole::read_word(std::string& word, std::size_t max_chars) {
  return entry_.read_word(word, max_chars);
}

bool WindowsConsole::read_number_text(std::string& text) {
  return entry_.read_number_text(text);
}

void WindowsConsole::close_plot_window() {
  if (plot_.close) plot_.close();
  plot_ = PlotWindowHooks{};
}

}  // namespace refx
