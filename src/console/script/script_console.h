#pragma once
// The Console of script mode: every key and typed line comes from a script, every text goes
// to a stream as plain text. At a key read the first character of the next line is the key
// (a blank line is Enter); at a typed-line prompt the whole line is the answer, shown after
// the prompt as a terminal echoes it. Pauses ("Press any A/N key to continue") go on by
// themselves, so a script holds only decisions. A screen clear is a line holding a form feed.
#include <cstdio>

#include "console/console.h"
#include "console/script/script_reader.h"

namespace refx {

class ScriptConsole : public Console {
 public:
  ScriptConsole(ScriptReader& script, std::FILE* out) : script_(script), out_(out) {}

  void clear() override;
  void print(const std::string& text) override;
  void refresh() override;
  int read_key() override;
  int read_main_menu_key() override;
  bool read_line(std::string& line, std::size_t max_chars) override;
  bool read_word(std::string& word, std::size_t max_chars) override;
  bool read_number_text(std::string& text) override;
  int wait_for_key() override;

  // A key typed into the plot window: the first character of the next line, as at a menu.
  int read_plot_key() { return read_key(); }

 private:
  std::string typed_line();

  ScriptReader& script_;
  std::FILE* out_;
};

}  // namespace refx
