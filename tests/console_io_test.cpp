// Value entry and name prompts, on the curses-like console and on a stream as refx_win reads.
#include "shell/console_io.h"

#include <gtest/gtest.h>

#include "shell/stream_input.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

namespace refx {
namespace {

// Typed entries come from a stream through StreamEntry, as in refx_win.
struct StreamConsole : ScriptedConsole {
  explicit StreamConsole(const std::string& typed) : in(std::tmpfile()), entry(in, stdout) {
    std::fputs(typed.c_str(), in);
    std::rewind(in);
  }
  ~StreamConsole() override { std::fclose(in); }
  bool read_line(std::string& l, std::size_t n) override { return entry.read_line(l, n); }
  bool read_word(std::string& w, std::size_t n) override { return entry.read_word(w, n); }
  bool read_number_text(std::string& t) override { return entry.read_number_text(t); }
  std::FILE* in;
  StreamEntry entry;
};

TEST(ValueEntry, UnconvertedTextKeepsTheValueOnBothConsoles) {
  ScriptedConsole con("abc\n2x\n   17\n99999999999\n1e3\nx\n");
  StreamConsole win("abc\n2x\n\n   17\n99999999999\n1e3\nx\n");
  for (Console* c : {static_cast<Console*>(&con), static_cast<Console*>(&win)}) {
    int v = 5;
    const int expected[] = {5, 2, 17, 17};  // letters; 2x; leading blanks; out of range
    for (int e : expected) {
      get_integer(*c, &v);
      EXPECT_EQ(v, e);
    }
    long double f = 7;
    get_long_double(*c, &f);
    EXPECT_EQ(f, 1000.0L);
    get_long_double(*c, &f);
    EXPECT_EQ(f, 1000.0L);
  }
}

TEST(ValueEntry, WindowsRePromptWaitsForANewLine) {
  StreamConsole con("abc def\n2x\n0\n7\nrest\n");
  int v = 0;
  get_integer_in_range(con, &v, 1, 9, "Error - enter integer again:\n");
  EXPECT_EQ(v, 2);  // "abc def" refused once, the whole line consumed
  get_integer_in_range(con, &v, 5, 9, "Error - enter integer again:\n");
  EXPECT_EQ(v, 7);
  EXPECT_EQ(con.transcript(), "Error - enter integer again:\nError - enter integer again:\n");
  std::string line;
  ASSERT_TRUE(con.read_line(line, 255));
  EXPECT_EQ(line, "rest");
}

TEST(NamePrompts, ReadTakesTheLineSaveOneWordAndOnlyQAloneQuits) {
  ScriptedConsole con("my file.txt\n  my file.txt\n   \n");
  StreamConsole win("\n\n  two words\n  a comment \n");
  std::string name = "old", comment;
  read_name_line(con, false, name);
  EXPECT_EQ(name, "my file.txt");
  read_name_word(con, name);
  EXPECT_EQ(name, "my");
  read_name_word(con, name);
  EXPECT_EQ(name, "");  // a blank answer never falls back to an earlier name
  read_name_line(win, true, name);
  EXPECT_EQ(name, "two");  // blank lines skipped, the rest of the line dropped
  read_comment(win, false, comment);
  EXPECT_EQ(comment, "  a comment ");
  for (const char* answer : {"Q", "q"}) EXPECT_TRUE(is_quit_answer(answer));
  for (const char* answer : {"Q ", "quit", ""}) EXPECT_FALSE(is_quit_answer(answer));
}

TEST(NamePrompts, OpenRetriesUntilAFileOpensAndQGivesUp) {
  TempDir dir;
  dir.write("there.txt", "x");
  ScriptedConsole con("not here\nthere.txt\nno/dir/b\nok.txt\nno/dir\nq\n");
  std::string name;
  std::FILE* f = open_for_read(con, "Name:\n", false, name, "r");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  name = "no/dir/a";
  ASSERT_NE(f = open_for_save(con, name, "w"), nullptr);
  std::fclose(f);
  EXPECT_TRUE(dir.exists("ok.txt"));
  name = "no/dir/a";
  EXPECT_EQ(open_for_save(con, name, "w"), nullptr);
  const std::string retry = "Error opening file, enter another name or Q to quit:\n";
  EXPECT_EQ(con.transcript(), "Name:\nError opening file not here;\nName:\n" + retry + retry +
                                  retry + retry + "File save aborted\n");
}

}  // namespace
}  // namespace refx
