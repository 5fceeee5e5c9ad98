// Value entry and prompt routines, through the scripted console.
#include <gtest/gtest.h>

#include "shell/console_io.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

TEST(ValueEntry, IntegerKeepsOldValueWhenLineDoesNotConvert) {
  ScriptedConsole con("abc\n2x\n   17\n\n99999999999\n-3\n");
  int v = 5;
  get_integer(con, &v);
  EXPECT_EQ(v, 5);  // letters only
  get_integer(con, &v);
  EXPECT_EQ(v, 2);  // digits then a letter
  get_integer(con, &v);
  EXPECT_EQ(v, 17);  // leading blanks
  get_integer(con, &v);
  EXPECT_EQ(v, 17);  // empty line
  get_integer(con, &v);
  EXPECT_EQ(v, 17);  // out of int range: not taken, never wrapped
  get_integer(con, &v);
  EXPECT_EQ(v, -3);
}

TEST(ValueEntry, RealsAndLongs) {
  ScriptedConsole con("1e3\nx\n 2.5e-1\n1.25e4000\n123456789012\nfoo\n");
  float f = 7.0f;
  get_real(con, &f);
  EXPECT_EQ(f, 1000.0f);
  get_real(con, &f);
  EXPECT_EQ(f, 1000.0f);
  long double ld = 0;
  get_long_double(con, &ld);
  EXPECT_EQ(ld, 0.25L);
  get_long_double(con, &ld);
  EXPECT_EQ(ld, 1.25e4000L);  // beyond double, within long double
  long l = 1;
  get_long_int(con, &l);
  EXPECT_EQ(l, 123456789012L);
  get_long_int(con, &l);
  EXPECT_EQ(l, 123456789012L);
}

TEST(ValueEntry, RangeLoopPrintsItsErrorLineOnlyForValuesOutside) {
  ScriptedConsole con("0\n3\nz\n2\n");
  int v = 0;
  get_integer_in_range(con, &v, 1, 2, "Error - enter again:\n");
  EXPECT_EQ(v, 2);
  // 0, 3 and the unconverted z (v still 3) are each refused once.
  EXPECT_EQ(con.transcript(),
            "Error - enter again:\nError - enter again:\nError - enter again:\n");
}

TEST(FileNamePrompts, ReadPromptTakesTheWholeLineSavePromptOneWord) {
  ScriptedConsole con("my file.txt\n  my file.txt\n" + std::string(300, 'a') + "\n");
  std::string name;
  read_name_line(con, false, name);
  EXPECT_EQ(name, "my file.txt");
  read_name_word(con, name);
  EXPECT_EQ(name, "my");
  read_name_line(con, false, name);
  EXPECT_EQ(name.size(), 255u);
}

TEST(FileNamePrompts, ABlankAnswerNeverFallsBackToAnEarlierName) {
  TempDir dir;
  dir.write("earlier.txt", "keep me");
  ScriptedConsole con("   \nnew.txt\n");
  std::string name = "earlier.txt";
  read_name_word(con, name);
  EXPECT_EQ(name, "");
  std::FILE* f = open_for_save(con, name, "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(name, "new.txt");
  EXPECT_EQ(dir.read("earlier.txt"), "keep me");
}

TEST(FileNamePrompts, OnlyAQorAqAloneQuits) {
  EXPECT_TRUE(is_quit_answer("Q"));
  EXPECT_TRUE(is_quit_answer("q"));
  EXPECT_FALSE(is_quit_answer("Q "));
  EXPECT_FALSE(is_quit_answer("quit"));
  EXPECT_FALSE(is_quit_answer(""));
}

TEST(FileNamePrompts, WindowsReadPromptTakesOneWord) {
  ScriptedConsole con("two words\n");
  std::string name;
  read_name_line(con, true, name);
  EXPECT_EQ(name, "two");
}

TEST(OpenForSave, RetriesUntilANameOpensAndQAborts) {
  TempDir dir;
  ScriptedConsole con("no/such/dir/b\nok.txt\n");
  std::string name = "missing_dir/a";
  std::FILE* f = open_for_save(con, name, "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(name, "ok.txt");
  EXPECT_TRUE(dir.exists("ok.txt"));
  EXPECT_EQ(con.transcript(),
            "Error opening file, enter another name or Q to quit:\n"
            "Error opening file, enter another name or Q to quit:\n");

  ScriptedConsole quits("q\n");
  name = "missing_dir/a";
  EXPECT_EQ(open_for_save(quits, name, "w"), nullptr);
  EXPECT_EQ(quits.transcript(),
            "Error opening file, enter another name or Q to quit:\nFile save aborted\n");
}

TEST(OpenForRead, PromptsAgainAfterAFailedOpenAndQuitsOnQ) {
  TempDir dir;
  dir.write("there.txt", "x");
  ScriptedConsole con("not here\nthere.txt\n");
  std::string name;
  std::FILE* f = open_for_read(con, "Enter name, or Q to quit:\n", false, name, "r");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(con.transcript(),
            "Enter name, or Q to quit:\nError opening file not here;\nEnter name, or Q to quit:\n");

  ScriptedConsole quits("Q\n");
  EXPECT_EQ(open_for_read(quits, "p:\n", false, name, "r"), nullptr);
  EXPECT_EQ(quits.transcript(), "p:\n");
}

TEST(Pause, PrintsAndWaitsForOneKey) {
  auto p = started_program();
  ScriptedConsole con("k");
  pause(*p, con);
  EXPECT_EQ(con.transcript(), "Press any A/N key to continue\n");
  EXPECT_EQ(p->ascii_code_continue, 'k');
  EXPECT_EQ(con.waits(), 1);
}

TEST(ToNextLine, ConsumesThroughTheNewlineOrToTheEnd) {
  TempDir dir;
  dir.write("t.txt", "first line\nsecond\nlast");
  std::FILE* f = std::fopen("t.txt", "r");
  ASSERT_NE(f, nullptr);
  to_next_line(f);
  EXPECT_EQ(std::fgetc(f), 's');
  to_next_line(f);
  to_next_line(f);
  EXPECT_EQ(std::fgetc(f), EOF);
  std::fclose(f);
}

}  // namespace
}  // namespace refx
