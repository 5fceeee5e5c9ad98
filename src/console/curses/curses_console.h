#pragma once
// The curses back-end of the Console seam (refx_lin).
#include <curses.h>

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

 private:
  void key_mode();
  void line_mode();
  // A blocking read that keeps failing means the terminal has gone.
  void note_failed_read();

  WINDOW* Curses_Window;
  int failed_reads_ = 0;
};

}  // namespace refx
