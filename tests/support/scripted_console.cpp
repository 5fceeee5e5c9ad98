#include "support/scripted_console.h"

#include "console/console_io.h"

namespace refx {

int ScriptedConsole::next() {
  if (pos_ >= typed_.size()) throw ScriptExhausted();
  return static_cast<unsigned char>(typed_[pos_++]);
}

bool ScriptedConsole::read_line(std::string& line, std::size_t max_chars) {
  if (pos_ >= typed_.size()) throw ScriptExhausted();
  std::size_t end = typed_.find('\n', pos_);
  std::string whole =
      typed_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
  pos_ = end == std::string::npos ? typed_.size() : end + 1;
  // Like an edited curses line: characters past the limit are not taken.
  line = whole.substr(0, max_chars);
  return true;
}

bool ScriptedConsole::read_word(std::string& word, std::size_t max_chars) {
  std::string line;
  return read_line(line, max_chars) && first_word(line, word, max_chars);
}

}  // namespace refx
