// Typed values: each line of the input, taken as the typed-entry stream reader takes it,
// converted by every value entry (int, long, float, long double).
#include <cstdio>
#include <string>

#include "console/console_io.h"
#include "console/stream_input.h"
#include "fuzz_program.h"

namespace refx {
namespace {

// Answers every numeric entry with one text.
class OneText : public Console {
 public:
  explicit OneText(const std::string& text) : text_(text) {}
  void clear() override {}
  void print(const std::string&) override {}
  void refresh() override {}
  int read_key() override { return -1; }
  int read_main_menu_key() override { return -1; }
  bool read_line(std::string& line, std::size_t) override { return (line = text_, true); }
  bool read_word(std::string& word, std::size_t) override { return (word = text_, true); }
  bool read_number_text(std::string& text) override { return (text = text_, true); }
  int wait_for_key() override { return -1; }

 private:
  const std::string& text_;
};

void convert_all(const std::string& text) {
  OneText con(text);
  int i = -7;
  long l = -7;
  float f = -7.0f;
  long double ld = -7.0L;
  get_integer(con, &i);
  get_long_int(con, &l);
  get_real(con, &f);
  get_long_double(con, &ld);
  // Both integer entries read the same decimal number: where it fits an int they agree.
  if (i != -7 && l != i) fuzz_finding("int and long entries disagree on the same text");
}

}  // namespace
}  // namespace refx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The stream reader works on a FILE: an in-memory one holds the typed lines.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* in = fmemopen(bytes.empty() ? nullptr : &bytes[0], bytes.size(), "r");
  if (!in) return 0;
  std::string text;
  while (refx::stream_read_number_text(in, text)) refx::convert_all(text);
  std::fclose(in);
  return 0;
}
