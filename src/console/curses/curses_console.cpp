#include "console/curses/curses_console.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "console/console_io.h"
#include "core/fatal.h"

namespace refx {

namespace {

void exit_curses() {
  endwin();
}

constexpr int kFailedReadsBeforeHangup = 100;

}  // namespace

CursesConsole::CursesConsole() {
  // The main menu reads with the C library while every other read goes through curses:
  // unbuffered, a key typed ahead is never held in the stdio buffer.
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  Curses_Window = initscr();
  std::atexit(exit_curses);
  scrollok(Curses_Window, TRUE);
}

void CursesConsole::clear() {
  wclear(Curses_Window);
}

void CursesConsole::print(const std::string& text) {
  waddstr(Curses_Window, text.c_str());
}

void CursesConsole::refresh() {
  wrefresh(Curses_Window);
}

void CursesConsole::key_mode() {
  cbreak();
  noecho();
  nodelay(Curses_Window, FALSE);
}

void CursesConsole::line_mode() {
  nocbreak();
  echo();
  nodelay(Curses_Window, FALSE);
}

void CursesConsole::note_failed_read() {
  if (++failed_reads_ >= kFailedReadsBeforeHangup) throw ProgramExit{0};
}

int CursesConsole::read_key() {
  key_mode();
  for (;;) {
    int c = wgetch(Curses_Window);
    if (c == KEY_RESIZE) continue;
    if (c == ERR) {
      note_failed_read();
      continue;
    }
    failed_reads_ = 0;
    return c;
  }
}

int CursesConsole::read_main_menu_key() {
  key_mode();
  int c = std::getchar();
  return c == EOF ? -1 : c;
}

bool CursesConsole::read_line(std::string& line, std::size_t max_chars) {
  line_mode();
  std::vector<char> buffer(max_chars + 1, '\0');
  if (wgetnstr(Curses_Window, buffer.data(), static_cast<int>(max_chars)) == ERR) {
    note_failed_read();
    return false;
  }
  failed_reads_ = 0;
  line = buffer.data();
  return true;
}

bool CursesConsole::read_word(std::string& word, std::size_t max_chars) {
  std::string line;
  return read_line(line, max_chars) && first_word(line, word, max_chars);
}

bool CursesConsole::read_number_text(std::string& text) {
  return read_line(text, 255);
}

int CursesConsole::wait_for_key() {
  return read_key();
}

}  // namespace refx
