#pragma once
// Typed entry read from a C stream (standard input in refx_win), a whole line at a time.
// Every read consumes the line it looked at, so text the operator typed after a value or
// a name never stays behind for the next prompt: a re-prompt after input that did not
// convert waits for new typing instead of meeting the same text again.
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

}  // namespace refx
