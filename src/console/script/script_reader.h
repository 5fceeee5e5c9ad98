#pragma once
// The lines of a script: every key and every typed line of a run, one answer per line.
// Lines whose first character is '#' are comments; "\#" at the start of a line stands for a
// '#' that is an answer. Blank lines are answers (an empty line, or Enter as a key).
#include <cstdio>
#include <string>

namespace refx {

class ScriptReader {
 public:
  // `name` is how messages call the script (its file name, or "standard input").
  ScriptReader(std::FILE* in, std::string name) : in_(in), name_(std::move(name)) {}

  // The next answer, without its line end. When the script has run out it reports "Script
  // ended before the program did" on standard error and ends the run with status 3; a line
  // that is no text (a control character, as in a binary file) or longer than kMaxLineChars
  // is reported the same way, with its line number, and ends the run with status 3 too.
  std::string next_answer();

  long line_number() const { return line_number_; }

  static constexpr std::size_t kMaxLineChars = 4096;
  static constexpr int kScriptFailed = 3;

 private:
  // False at the end of the script.
  bool read_line(std::string& line);
  [[noreturn]] void fail(const std::string& what) const;

  std::FILE* in_;
  std::string name_;
  long line_number_ = 0;
};

}  // namespace refx
