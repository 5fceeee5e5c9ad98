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

// Blanks the whole screen buffer in its current colours and puts the cursor home, as the
// command "cls" does, without starting a shell for every redraw.
void WindowsConsole::clear() {
  std::fflush(stdout);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(out, &info)) return;  // not a console: nothing to clear
  const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  const COORD home{0, 0};
  DWORD written = 0;
  FillConsoleOutputCharacterA(out, ' ', cells, home, &written);
  FillConsoleOutputAttribute(out, info.wAttributes, cells, home, &written);
  SetConsoleCursorPosition(out, home);
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

// An extended key (arrows, pages, function keys) comes as a prefix and its code; the pair is
// read and dropped, so that its second code never acts as a letter (PgDn's is 'Q').
int WindowsConsole::next_plain_key() {
  for (;;) {
    await_key();
    const int c = take_key();
    if (!is_extended_prefix(c)) return c;
    int hit = 0;
    poll_key(&hit);
  }
}

int WindowsConsole::read_key() {
  return next_plain_key();
}

int WindowsConsole::get_menu_key() {
  return next_plain_key();
}

int WindowsConsole::read_main_menu_key() {
  return get_menu_key();
}

int WindowsConsole::wait_for_key() {
  return next_plain_key();
}

void WindowsConsole::drop_typed_ahead() {
  while (_kbhit()) _getch();
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
