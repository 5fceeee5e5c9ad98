#include "console/curses/curses_console.h"

#include <cstdlib>

#include "console/console_io.h"
#include "core/fatal.h"

namespace refx {

namespace {

void exit_curses() {
  endwin();
}

constexpr int kFailedReadsBeforeHangup = 100;
constexpr int kEscape = 27;
// How long the rest of an escape sequence may take to follow its ESC (milliseconds); a
// terminal sends the sequence in one piece, a person cannot type ESC and a key this fast.
constexpr int kSequenceGapMs = 60;
// No sequence a terminal sends is longer; a longer one is junk and stops being read here.
constexpr int kLongestSequence = 32;

bool is_erase(int c) {
  return c == erasechar() || c == KEY_BACKSPACE || c == 127 || c == '\b';
}

bool is_kill(int c) {
  return c == killchar() || c == 21;  // ^U
}

}  // namespace

CursesConsole::CursesConsole() {
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

// Curses decodes the keys it knows from the terminal's description (keypad mode); the rest
// of any escape sequence is dropped by next_code.
void CursesConsole::key_mode() {
  cbreak();
  noecho();
  nodelay(Curses_Window, FALSE);
  keypad(Curses_Window, TRUE);
}

// Lines are edited here, key by key, so that a resize or an arrow key never ends one.
void CursesConsole::line_mode() {
  key_mode();
}

void CursesConsole::note_failed_read() {
  if (++failed_reads_ >= kFailedReadsBeforeHangup) throw ProgramExit{0};
}

void CursesConsole::repaint() {
  redrawwin(Curses_Window);
  wrefresh(Curses_Window);
}

bool CursesConsole::drop_escape_sequence() {
  wtimeout(Curses_Window, kSequenceGapMs);
  int c = wgetch(Curses_Window);
  bool sequence = true;
  if (c == '[' || c == 'O') {
    // CSI: parameters and intermediates up to a final byte; SS3: one more byte.
    const bool csi = c == '[';
    for (int n = 0; n < kLongestSequence; ++n) {
      c = wgetch(Curses_Window);
      if (c >= KEY_MIN) ungetch(c);  // a resize (or a decoded key) is not part of it
      if (c == ERR || c >= KEY_MIN || !csi || (c >= 0x40 && c <= 0x7e)) break;
    }
  } else if (c != ERR) {
    ungetch(c);  // ESC and then an ordinary key: the ESC alone, as typed
    sequence = false;
  } else {
    sequence = false;
  }
  wtimeout(Curses_Window, -1);
  return sequence;
}

int CursesConsole::next_code() {
  for (;;) {
    const int c = wgetch(Curses_Window);
    if (c == ERR) {
      note_failed_read();
      continue;
    }
    failed_reads_ = 0;
    if (c == KEY_RESIZE) return kResized;
    if (c == kEscape && drop_escape_sequence()) continue;
    // Keys curses decoded: only those a line editor needs are kept.
    if (c >= KEY_MIN && c != KEY_BACKSPACE && c != KEY_ENTER) continue;
    return c;
  }
}

int CursesConsole::read_key() {
  key_mode();
  const int c = next_code();
  if (c == KEY_BACKSPACE) return 8;
  if (c == KEY_ENTER) return '\n';
  return c == kResized ? kRedrawKey : c;
}

// The main menu reads through curses as every other menu does, so that an escape sequence
// is never taken for its letters.
int CursesConsole::read_main_menu_key() {
  return read_key();
}

int CursesConsole::wait_for_key() {
  key_mode();
  for (;;) {
    const int c = next_code();
    if (c != kResized) return c == KEY_BACKSPACE ? 8 : c == KEY_ENTER ? '\n' : c;
    repaint();
  }
}

void CursesConsole::unecho(std::vector<int>& widths) {
  int y, x;
  getyx(Curses_Window, y, x);
  const int cols = getmaxx(Curses_Window);
  int at = y * cols + x - widths.back();
  widths.pop_back();
  if (at < 0) at = 0;
  wmove(Curses_Window, at / cols, at % cols);
  wclrtobot(Curses_Window);
}

bool CursesConsole::read_line(std::string& line, std::size_t max_chars) {
  line_mode();
  std::string typed;
  std::vector<int> widths;  // screen cells each typed character took
  for (;;) {
    const int c = next_code();
    if (c == kResized) {
      repaint();
    } else if (c == '\n' || c == '\r' || c == KEY_ENTER) {
      waddch(Curses_Window, '\n');
      wrefresh(Curses_Window);
      line = typed;
      return true;
    } else if (is_erase(c) || is_kill(c)) {
      do {
        if (typed.empty()) break;
        typed.pop_back();
        unecho(widths);
      } while (is_kill(c));
      wrefresh(Curses_Window);
    } else if (c >= ' ' && c < KEY_MIN && typed.size() < max_chars) {
      int y0, x0, y1, x1;
      getyx(Curses_Window, y0, x0);
      waddch(Curses_Window, static_cast<chtype>(c));
      getyx(Curses_Window, y1, x1);
      const int cols = getmaxx(Curses_Window);
      int width = (y1 - y0) * cols + x1 - x0;
      if (width <= 0) width += cols;  // the window scrolled up a line
      typed.push_back(static_cast<char>(c));
      widths.push_back(width);
      wrefresh(Curses_Window);
    }
  }
}

bool CursesConsole::read_word(std::string& word, std::size_t max_chars) {
  std::string line;
  return read_line(line, max_chars) && first_word(line, word, max_chars);
}

bool CursesConsole::read_number_text(std::string& text) {
  return read_line(text, 255);
}

void CursesConsole::drop_typed_ahead() {
  flushinp();
}

}  // namespace refx
