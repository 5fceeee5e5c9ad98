#pragma once
// A scripted console whose typed entries (lines, words, numbers) are read from a stream of
// typed text through StreamEntry, as refx_win reads them from standard input. Keys still
// come from the script.
#include <cstdio>
#include <string>

#include "shell/stream_input.h"
#include "support/scripted_console.h"

namespace refx {

class StreamConsole : public ScriptedConsole {
 public:
  StreamConsole(const std::string& keys, const std::string& typed_lines);
  ~StreamConsole() override;
  StreamConsole(const StreamConsole&) = delete;
  StreamConsole& operator=(const StreamConsole&) = delete;

  bool read_line(std::string& line, std::size_t max_chars) override {
    return entry_.read_line(line, max_chars);
  }
  bool read_word(std::string& word, std::size_t max_chars) override {
    return entry_.read_word(word, max_chars);
  }
  bool read_number_text(std::string& text) override { return entry_.read_number_text(text); }

  // The typed text not read yet.
  std::string unread();

 private:
  std::FILE* in_;
  StreamEntry entry_;
};

}  // namespace refx
