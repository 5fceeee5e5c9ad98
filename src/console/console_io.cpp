#include "console/console_io.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <limits>
#include <vector>

#include "core/file_system.h"
#include "core/program.h"

namespace refx {

void con_printf(Console& con, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    con.print(std::string(buffer.data(), static_cast<std::size_t>(needed)));
  }
  va_end(args);
}

namespace {

// A decimal integer at the start of the text (after blanks), as "%d"/"%ld" convert it.
// Values outside the target's range do not convert, rather than wrap.
template <typename Int>
void convert_integer(const std::string& text, Int* value) {
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(start, &end, 10);
  if (end == start || errno == ERANGE) return;
  if (v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max()) return;
  *value = static_cast<Int>(v);
}

}  // namespace

void get_real(Console& con, float* value) {
  std::string text;
  if (!con.read_number_text(text)) return;
  float v;
  if (std::sscanf(text.c_str(), "%e", &v) == 1) *value = v;
}

void get_long_double(Console& con, long double* value) {
  std::string text;
  if (!con.read_number_text(text)) return;
  long double v;
  if (std::sscanf(text.c_str(), "%Le", &v) == 1) *value = v;
}

bool finite_within(long double value, long double limit) {
  return std::fabs(value) <= limit;  // false for NaN and for infinities
}

Entry get_real_within(Console& con, float* value, float limit) {
  std::string text;
  if (!con.read_number_text(text)) return Entry::kNone;
  float v;
  if (std::sscanf(text.c_str(), "%e", &v) != 1) return Entry::kNone;
  if (!finite_within(v, limit)) return Entry::kRefused;
  *value = v;
  return Entry::kValue;
}

Entry get_long_double_within(Console& con, long double* value, long double limit) {
  std::string text;
  if (!con.read_number_text(text)) return Entry::kNone;
  long double v;
  if (std::sscanf(text.c_str(), "%Le", &v) != 1) return Entry::kNone;
  if (!finite_within(v, limit)) return Entry::kRefused;
  *value = v;
  return Entry::kValue;
}

bool report_kept(Program& p, Console& con, Entry entry, long double limit) {
  if (entry != Entry::kRefused) return false;
  con_printf(con, "%s%Lg%s%Lg%s", "Error - value must be a finite number between ", -limit, " and ",
             limit, "; the previous value was kept\n");
  pause(p, con);
  return true;
}

void get_integer(Console& con, int* value) {
  std::string text;
  if (con.read_number_text(text)) convert_integer(text, value);
}

void get_long_int(Console& con, long* value) {
  std::string text;
  if (con.read_number_text(text)) convert_integer(text, value);
}

void get_integer_in_range(Console& con, int* value, int lo, int hi, const char* error_line) {
  get_integer(con, value);
  while (*value < lo || *value > hi) {
    con.print(error_line);
    con.refresh();
    get_integer(con, value);
  }
}

void read_name_line(Console& con, bool as_word, std::string& name) {
  if (as_word) {
    read_name_word(con, name);
    return;
  }
  std::string line;
  con.read_line(line, kNameChars);
  name = line;
}

// An answer without a word gives an empty name, which no file opens: a blank answer
// never falls back to an earlier name and overwrites that file.
void read_name_word(Console& con, std::string& name) {
  std::string word;
  con.read_word(word, kNameChars);
  name = word;
}

bool is_quit_answer(const std::string& answer) {
  return answer == "Q" || answer == "q";
}

bool first_word(const std::string& line, std::string& word, std::size_t max_chars) {
  const char* blanks = " \t\r\n\v\f";
  std::size_t start = line.find_first_not_of(blanks);
  if (start == std::string::npos) return false;
  std::size_t end = line.find_first_of(blanks, start);
  std::size_t length = (end == std::string::npos ? line.size() : end) - start;
  word = line.substr(start, length < max_chars ? length : max_chars);
  return true;
}

void pause(Program& p, Console& con) {
  con.print("Press any A/N key to continue\n");
  con.refresh();
  p.ascii_code_continue = static_cast<char>(con.wait_for_key());
}

std::FILE* open_for_read(Console& con, const std::string& prompt, bool as_word, std::string& name,
                         const char* mode) {
  for (;;) {
    con.print(prompt);
    con.refresh();
    read_name_line(con, as_word, name);
    if (is_quit_answer(name)) return nullptr;
    // Only a regular file is read: a FIFO would block, a device never end, a folder
    // read as empty.
    std::FILE* file = open_regular_file(name, mode);
    if (file) return file;
    con_printf(con, "%s%s%s", "Error opening file ", name.c_str(), ";\n");
  }
}

void read_comment(Console& con, bool as_word, std::string& comment) {
  con.print("Enter single line of comments:\n");
  con.refresh();
  if (as_word) {
    read_name_word(con, comment);
  } else {
    std::string line;
    if (con.read_line(line, kNameChars)) comment = line;
  }
}

void report_file_not_finite(Console& con, const std::string& name, const char* what,
                            const std::string& outcome) {
  con_printf(con, "%s%s%s%s%s%s%s", "Error - file ", name.c_str(), " holds ", what,
             " that is not a finite number; ", outcome.c_str(), "\n");
  con.refresh();
}

void to_next_line(std::FILE* input_file_nl) {
  int c;
  do {
    c = std::fgetc(input_file_nl);
  } while (c != '\n' && c != EOF);
}

}  // namespace refx
