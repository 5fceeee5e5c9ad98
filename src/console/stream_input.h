#pragma once
// Typed entry read from a C stream (standard input in refx_win), a whole line at a time.
// Every read consumes the line it looked at, so text the operator typed after a value or
// a name never stays behind for the next prompt: a re-prompt after input that did not
// convert waits for new typing instead of meeting the same text again, and a comment
// asked for after a file name is the next line typed, not what followed the name.
#include <cstdio>
#include <string>

namespace refx {

// One typed line without its newline (nor a carriage return before it). Characters past
// max_chars are consumed but not kept. False at end of input when nothing was read.
bool stream_read_line(std::FILE* in, std::string& line, std::size_t max_chars);

// One blank-delimited word, as "%s" takes it: lines holding only blanks are passed over,
// the first word of the next line is taken (at most max_chars characters of it) and the
// rest of that line is dropped. False at end of input.
bool stream_read_word(std::FILE* in, std::string& word, std::size_t max_chars);

// The text of a numeric entry: lines holding only blanks are passed over, as "%d" skips
// them, and the next line, whole, is the text to convert. False at end of input.
bool stream_read_number_text(std::FILE* in, std::string& text);

// The typed-entry reads of a console that takes them from a stream. Pending output is
// shown before each read. Input that keeps failing (the stream at its end, the console
// gone) ends the program as Q would (ProgramExit 0), rather than leave a re-prompt loop
// spinning on reads that never wait.
class StreamEntry {
 public:
  StreamEntry(std::FILE* in, std::FILE* out) : in_(in), out_(out) {}

  bool read_line(std::string& line, std::size_t max_chars);
  bool read_word(std::string& word, std::size_t max_chars);
  bool read_number_text(std::string& text);
  // Counts a read (a key read too) that failed; the count restarts at each success.
  bool note_read(bool ok);

  static constexpr int kFailedReadsBeforeHangup = 100;

 private:
  std::FILE* in_;
  std::FILE* out_;
  int failed_reads_ = 0;
};

}  // namespace refx
