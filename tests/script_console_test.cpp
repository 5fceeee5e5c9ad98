// The script console: one script line per read, comments and the \# escape, blank answers,
// pauses that take no line, and the end of the script or a line that is no text ending the
// run with status 3 and a message on stderr.
#include "console/script/script_console.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "console/console_io.h"
#include "core/fatal.h"
#include "support/test_program.h"

namespace refx {
namespace {

using namespace std::string_literals;

// A script held in a temporary file, read from its start.
struct ScriptFile {
  std::FILE* file = std::tmpfile();
  explicit ScriptFile(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
  }
  ~ScriptFile() { std::fclose(file); }
};

// Every answer up to the end of the script, and what stderr said when the run ended there.
std::vector<std::string> answers(const std::string& text, std::string& ending, int& status) {
  ScriptFile script(text);
  ScriptReader reader(script.file, "t.script");
  std::vector<std::string> got;
  testing::internal::CaptureStderr();
  status = -1;
  try {
    for (int i = 0; i < 100; ++i) got.push_back(reader.next_answer());
  } catch (const ProgramExit& stop) {
    status = stop.status;
  }
  ending = testing::internal::GetCapturedStderr();
  return got;
}

const char* const kEnded = "Script ended before the program did\n";

TEST(ScriptReader, LinesCommentsEscapesAndEnds) {
  const std::string long_line(ScriptReader::kMaxLineChars, 'x');
  struct Case {
    std::string text;
    std::vector<std::string> answers;
    std::string ending;
  } cases[] = {
      {"", {}, kEnded},
      {"T\n", {"T"}, kEnded},
      {"no newline at the end", {"no newline at the end"}, kEnded},
      {"# comment\nT\n#another\n\n1\n", {"T", "", "1"}, kEnded},
      {"\\#name.txt\n \\#kept\n\\\\#kept too\n",
       {"#name.txt", " \\#kept", "\\\\#kept too"},
       kEnded},
      {"crlf\r\nlast\r", {"crlf", "last"}, kEnded},
      {"\xEF\xBB\xBFT\n\xEF\xBB\xBF\n", {"T", "\xEF\xBB\xBF"}, kEnded},  // a byte order mark
      {"tab\tand blanks  \n", {"tab\tand blanks  "}, kEnded},
      {"\xc3\xa9t\xc3\xa9.txt\n", {"\xc3\xa9t\xc3\xa9.txt"}, kEnded},
      {long_line + "\n", {long_line}, kEnded},
      {"T\n" + long_line + "y\nQ\n",
       {"T"},
       "Script error - line 2 of t.script is longer than 4096 characters\n"},
      {"T\n# comment\nR\0x\n"s,
       {"T"},
       "Script error - line 3 of t.script holds a control character (code 0): a script is a "
       "text file\n"},
      {"a\rb\n",
       {},
       "Script error - line 1 of t.script holds a control character (code 13): a script is a "
       "text file\n"},
      {"\x7f"
       "ELF\x02\x01",
       {},
       "Script error - line 1 of t.script holds a control character (code 127): a script is "
       "a text file\n"},
  };
  for (const Case& c : cases) {
    std::string ending;
    int status = 0;
    EXPECT_EQ(answers(c.text, ending, status), c.answers) << c.text;
    EXPECT_EQ(ending, c.ending) << c.text;
    EXPECT_EQ(status, 3) << c.text;
  }
}

TEST(ScriptConsole, KeysLinesPausesAndOutput) {
  ScriptFile script("t\n\n  spaced name.txt\n  12abc\nword and more\nQ\n");
  ScriptReader reader(script.file, "t.script");
  std::FILE* out = std::tmpfile();
  ScriptConsole con(reader, out);
  auto p = started_program();

  con.clear();
  EXPECT_EQ(con.read_key(), 't');
  EXPECT_EQ(con.read_main_menu_key(), '\n');  // a blank line is Enter
  std::string line, word;
  EXPECT_TRUE(con.read_line(line, 8));
  EXPECT_EQ(line, "  spaced");
  pause(*p, con);  // takes no line
  int value = 0;
  get_integer(con, &value);
  EXPECT_EQ(value, 12);
  EXPECT_TRUE(con.read_word(word, 255));
  EXPECT_EQ(word, "word");
  EXPECT_EQ(con.read_plot_key(), 'Q');

  std::rewind(out);
  std::string shown(4096, '\0');
  shown.resize(std::fread(&shown[0], 1, shown.size(), out));
  std::fclose(out);
  // Typed lines are echoed as a terminal shows them; keys are not.
  EXPECT_EQ(shown,
            "\f\n  spaced name.txt\nPress any A/N key to continue\n  12abc\nword and more\n");
}

}  // namespace
}  // namespace refx
