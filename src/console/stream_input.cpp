#include "console/stream_input.h"

#include "console/console_io.h"
#include "core/fatal.h"

namespace refx {

namespace {

bool is_blank_line(const std::string& line) {
  return line.find_first_not_of(" \t\r\v\f") == std::string::npos;
}

// The next line that holds more than blanks, whole; false at end of input.
bool read_filled_line(std::FILE* in, std::string& line) {
  do {
    if (!stream_read_line(in, line, std::string::npos)) return false;
  } while (is_blank_line(line));
  return true;
}

}  // namespace

bool stream_read_line(std::FILE* in, std::string& line, std::size_t max_chars) {
  std::string kept;
  bool any = false;
  int c;
  while ((c = std::fgetc(in)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (kept.size() < max_chars) kept.push_back(static_cast<char>(c));
  }
  if (!any) return false;
  // A line typed on a console or written on Windows may end in CR LF.
  if (!kept.empty() && kept.back() == '\r') kept.pop_back();
  line = kept;
  return true;
}

bool stream_read_word(std::FILE* in, std::string& word, std::size_t max_chars) {
  std::string line;
  if (!read_filled_line(in, line)) return false;
  return first_word(line, word, max_chars);
}

bool stream_read_number_text(std::FILE* in, std::string& text) {
  return read_filled_line(in, text);
}

bool StreamEntry::note_read(bool ok) {
  if (ok) {
    failed_reads_ = 0;
  } else if (++failed_reads_ >= kFailedReadsBeforeHangup) {
    throw ProgramExit{0};
  }
  return ok;
}

bool StreamEntry::read_line(std::string& line, std::size_t max_chars) {
  std::fflush(out_);
  return note_read(stream_read_line(in_, line, max_chars));
}

bool StreamEntry::read_word(std::string& word, std::size_t max_chars) {
  std::fflush(out_);
  return note_read(stream_read_word(in_, word, max_chars));
}

bool StreamEntry::read_number_text(std::string& text) {
  std::fflush(out_);
  return note_read(stream_read_number_text(in_, text));
}

}  // namespace refx
