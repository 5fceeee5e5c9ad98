#include "console/script/script_console.h"

#include "console/console_io.h"

namespace refx {

void ScriptConsole::clear() {
  std::fputs("\f\n", out_);
}

void ScriptConsole::print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), out_);
}

void ScriptConsole::refresh() {
  std::fflush(out_);
}

int ScriptConsole::read_key() {
  const std::string line = script_.next_answer();
  return line.empty() ? '\n' : static_cast<unsigned char>(line[0]);
}

int ScriptConsole::read_main_menu_key() {
  return read_key();
}

std::string ScriptConsole::typed_line() {
  std::string line = script_.next_answer();
  print(line + "\n");
  return line;
}

bool ScriptConsole::read_line(std::string& line, std::size_t max_chars) {
  line = typed_line().substr(0, max_chars);
  return true;
}

bool ScriptConsole::read_word(std::string& word, std::size_t max_chars) {
  return first_word(typed_line(), word, max_chars);
}

bool ScriptConsole::read_number_text(std::string& text) {
  text = typed_line();
  return true;
}

int ScriptConsole::wait_for_key() {
  return ' ';
}

}  // namespace refx
