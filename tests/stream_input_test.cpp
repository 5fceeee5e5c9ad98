// Typed entry from a stream, as refx_win takes it from standard input: whole lines are
// consumed, so nothing typed stays behind for the next prompt.
#include "shell/stream_input.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/console_io.h"
#include "shell/fatal.h"
#include "support/stream_console.h"

namespace refx {
namespace {

// A stream holding the given text, closed at the end of the test.
struct TextStream {
  explicit TextStream(const std::string& text) : f(std::tmpfile()) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
  }
  ~TextStream() { std::fclose(f); }
  std::FILE* f;
};

TEST(StreamLines, NewlineAndCarriageReturnGoLongLinesAreCutButConsumed) {
  TextStream in("abc\r\n" + std::string(40, 'x') + "tail\n\n  last");
  std::string line;
  ASSERT_TRUE(stream_read_line(in.f, line, 255));
  EXPECT_EQ(line, "abc");
  ASSERT_TRUE(stream_read_line(in.f, line, 40));
  EXPECT_EQ(line, std::string(40, 'x'));
  ASSERT_TRUE(stream_read_line(in.f, line, 255));  // the empty line, not "tail"
  EXPECT_EQ(line, "");
  ASSERT_TRUE(stream_read_line(in.f, line, 255));  // a last line without newline
  EXPECT_EQ(line, "  last");
  EXPECT_FALSE(stream_read_line(in.f, line, 255));
  EXPECT_EQ(line, "  last");  // untouched at the end of input
}

TEST(StreamWords, BlankLinesArePassedOverAndTheRestOfTheLineDropped) {
  TextStream in("\n   \t\n  name.txt and more\nnext line\n" + std::string(300, 'w') + " x\nz");
  std::string word, line;
  ASSERT_TRUE(stream_read_word(in.f, word, 255));
  EXPECT_EQ(word, "name.txt");
  ASSERT_TRUE(stream_read_line(in.f, line, 255));
  EXPECT_EQ(line, "next line");
  ASSERT_TRUE(stream_read_word(in.f, word, 255));
  EXPECT_EQ(word, std::string(255, 'w'));
  ASSERT_TRUE(stream_read_word(in.f, word, 255));  // the long word's line is gone
  EXPECT_EQ(word, "z");
  EXPECT_FALSE(stream_read_word(in.f, word, 255));
}

TEST(StreamNumbers, BlankLinesArePassedOverAndTheWholeLineTaken) {
  TextStream in("\n \n  12 34\n\n");
  std::string text;
  ASSERT_TRUE(stream_read_number_text(in.f, text));
  EXPECT_EQ(text, "  12 34");
  EXPECT_FALSE(stream_read_number_text(in.f, text));  // only a blank line left
}

TEST(WindowsValueEntry, TextThatDoesNotConvertIsConsumedSoTheRePromptWaits) {
  StreamConsole con("", "abc def\n2x\n0\n7\n");
  int v = 0;
  get_integer_in_range(con, &v, 1, 9, "Error - enter integer again:\n");
  // "abc def" is refused once, and "2x" gives 2.
  EXPECT_EQ(v, 2);
  EXPECT_EQ(con.transcript(), "Error - enter integer again:\n");
  // Then "0" is refused once, and 7 taken.
  get_integer_in_range(con, &v, 5, 9, "Error - enter integer again:\n");
  EXPECT_EQ(v, 7);
  EXPECT_EQ(con.transcript(), "Error - enter integer again:\nError - enter integer again:\n");
  EXPECT_EQ(con.unread(), "");
}

TEST(WindowsValueEntry, ConvertsAsScanfWouldAndLeavesNothingBehind) {
  StreamConsole con("", "\n   \n 1e3\n-2.5e-1 4\nx\n123456789012\n");
  float f = 0;
  get_real(con, &f);  // blank lines skipped as "%e" skips them
  EXPECT_EQ(f, 1000.0f);
  long double ld = 0;
  get_long_double(con, &ld);
  EXPECT_EQ(ld, -0.25L);
  long l = 5;
  get_long_int(con, &l);  // the 4 after -2.5e-1 is not taken here
  EXPECT_EQ(l, 5);
  get_long_int(con, &l);
  EXPECT_EQ(l, 123456789012L);
  EXPECT_EQ(con.unread(), "");
}

TEST(WindowsNameAndComment, TheCommentIsTheNextLineTypedAfterTheName) {
  // The name typed alone, or with more after it: either way the comment prompt reads
  // the line typed for it, blanks kept.
  for (std::string name_line : {"out.txt", "out.txt more words", "  out.txt  "}) {
    StreamConsole con("", name_line + "\n  a comment, with blanks \n");
    std::string name, comment;
    read_name_word(con, name);
    read_comment(con, false, comment);
    EXPECT_EQ(name, "out.txt") << name_line;
    EXPECT_EQ(comment, "  a comment, with blanks ") << name_line;
    EXPECT_EQ(con.transcript(), "Enter single line of comments:\n");
  }
  // An empty line typed for the comment is an empty comment.
  StreamConsole con("", "out.txt\n\nnext\n");
  std::string name, comment = "old";
  read_name_word(con, name);
  read_comment(con, false, comment);
  EXPECT_EQ(comment, "");
  EXPECT_EQ(con.unread(), "next\n");
}

TEST(WindowsNameAndComment, WordCommentsAndReadPromptsTakeOneWord) {
  StreamConsole con("", "\ndata file.txt\nfirst second\n");
  std::string name, comment;
  read_name_line(con, true, name);
  EXPECT_EQ(name, "data");
  read_comment(con, true, comment);
  EXPECT_EQ(comment, "first");
}

TEST(WindowsValueEntry, InputThatHasEndedStopsTheProgramInsteadOfSpinning) {
  StreamConsole con("", "abc\n");
  int v = 0;
  try {
    get_integer_in_range(con, &v, 1, 2, "Error - enter again:\n");
    FAIL() << "the range loop returned at end of input";
  } catch (const ProgramExit& stop) {
    EXPECT_EQ(stop.status, 0);
  }
  // One refusal for "abc", then one per failed read until the console counts as gone.
  std::string expected;
  for (int i = 0; i < StreamEntry::kFailedReadsBeforeHangup; ++i)
    expected += "Error - enter again:\n";
  EXPECT_EQ(con.transcript(), expected);
  EXPECT_EQ(v, 0);
}

TEST(WindowsValueEntry, OnlyUnbrokenRunsOfFailedReadsEndTheProgram) {
  StreamEntry entry(stdin, stdout);
  for (int round = 0; round < 3; ++round) {
    for (int i = 1; i < StreamEntry::kFailedReadsBeforeHangup; ++i)
      EXPECT_FALSE(entry.note_read(false));
    EXPECT_TRUE(entry.note_read(true));
  }
  for (int i = 1; i < StreamEntry::kFailedReadsBeforeHangup; ++i) entry.note_read(false);
  EXPECT_THROW(entry.note_read(false), ProgramExit);
}

}  // namespace
}  // namespace refx
