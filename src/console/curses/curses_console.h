#pragma once
// The curses back-end of the Console seam (refx_lin).
#include <curses.h>

#include <vector>

#include "console/console.h"

namespace refx {

class CursesConsole : public Console {
 public:
  // Starts curses on the terminal and registers exit_curses, so the terminal is
  // restored on every exit.
  CursesConsole();

  void clear() override;
  void print(const std::string& text) override;
  void refresh() override;
  int read_key() override;
  int read_main_menu_key() override;
  bool read_line(std::string& line, std::size_t max_chars) override;
  bool read_word(std::string& word, std::size_t max_chars) override;
  bool read_number_text(std::string& text) override;
  int wait_for_key() override;
  void drop_typed_ahead() override;

 private:
  void key_mode();
  void line_mode();
  // A blocking read that keeps failing means the terminal has gone.
  void note_failed_read();
  // The next key typed: escape sequences are dropped whole, kResized after a resize.
  int next_code();
  // Reads the rest of an escape sequence after its ESC; false for a lone ESC.
  bool drop_escape_sequence();
  // Shows the screen again after the terminal changed size.
  void repaint();
  // Takes the last echoed character of a typed line off the screen.
  void unecho(std::vector<int>& widths);

  static constexpr int kResized = -2;

  WINDOW* Curses_Window;
  int failed_reads_ = 0;
};

}  // namespace refx
