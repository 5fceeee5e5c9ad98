#include "shell/wincon/windows_console.h"

#include <conio.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace refx {

namespace {

// How long one wait for the plot window's messages lasts before the keyboard is
// polled again.
constexpr DWORD kPumpWaitMs = 10;

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
  // Without a plot window _getch itself waits; with one, the window is serviced until
  // a key comes, without keeping a processor busy.
  while (plot_.pump && !_kbhit()) {
    plot_.pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpWaitMs, QS_ALLINPUT);
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
