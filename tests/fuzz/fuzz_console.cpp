#include "fuzz_console.h"

#include <cstdio>
#include <cstdlib>

namespace refx {

void FuzzConsole::count_read() {
  if (++reads_ > kMaxReads) {
    std::fprintf(stderr, "reader asked for input %d times; it printed:\n%s\n", reads_,
                 printed_.c_str());
    std::abort();
  }
}

int FuzzConsole::key() {
  count_read();
  return ' ';
}

std::string FuzzConsole::next_answer() {
  if (!name_given_) {
    name_given_ = true;
    return file_name_;
  }
  return next_ < answers_.size() ? answers_[next_++] : "0";
}

bool FuzzConsole::read_line(std::string& line, std::size_t max_chars) {
  count_read();
  line = next_answer().substr(0, max_chars);
  return true;
}

bool FuzzConsole::read_word(std::string& word, std::size_t max_chars) {
  return read_line(word, max_chars);
}

bool FuzzConsole::read_number_text(std::string& text) {
  count_read();
  // A number is never the file name: the name goes to the first name prompt only.
  text = next_ < answers_.size() ? answers_[next_++] : "0";
  return true;
}

}  // namespace refx
