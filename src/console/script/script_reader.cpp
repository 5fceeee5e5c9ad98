#include "console/script/script_reader.h"

#include "core/fatal.h"

namespace refx {

namespace {

// Tab is text; a carriage return may end a line written on Windows. Every other control
// character says the file is not a script.
bool is_text(int c) {
  return c == '\t' || (c >= 0x20 && c != 0x7F);
}

}  // namespace

void ScriptReader::fail(const std::string& what) const {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", what.c_str());
  throw ProgramExit{kScriptFailed};
}

bool ScriptReader::read_line(std::string& line) {
  line.clear();
  int c = std::fgetc(in_);
  if (c == EOF) return false;
  ++line_number_;
  for (; c != EOF && c != '\n'; c = std::fgetc(in_)) {
    if (c == '\r') {
      const int next = std::fgetc(in_);
      if (next == '\n' || next == EOF) break;
      std::ungetc(next, in_);
    }
    if (!is_text(c)) {
      char code[8];
      std::snprintf(code, sizeof code, "%d", c);
      fail("Script error - line " + std::to_string(line_number_) + " of " + name_ +
           " holds a control character (code " + code + "): a script is a text file");
    }
    if (line.size() == kMaxLineChars)
      fail("Script error - line " + std::to_string(line_number_) + " of " + name_ +
           " is longer than " + std::to_string(kMaxLineChars) + " characters");
    line.push_back(static_cast<char>(c));
  }
  // Editors on Windows may begin a UTF-8 file with a byte order mark; it is not an answer.
  if (line_number_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  return true;
}

std::string ScriptReader::next_answer() {
  std::string line;
  for (;;) {
    if (!read_line(line)) fail("Script ended before the program did");
    if (line.empty() || line[0] != '#') break;
  }
  if (line.compare(0, 2, "\\#") == 0) line.erase(0, 1);
  return line;
}

}  // namespace refx
