#pragma once
// A Console for fuzz targets: the first name asked for is the file under test, every later
// line or number is taken from a short list of answers ("0" once they run out), keys are
// blanks. A reader that keeps prompting past a small bound is looping on its input: that
// stops the target as a finding.
#include <cstddef>
#include <string>
#include <vector>

#include "console/console.h"

namespace refx {

class FuzzConsole : public Console {
 public:
  FuzzConsole(std::string file_name, std::vector<std::string> answers)
      : file_name_(std::move(file_name)), answers_(std::move(answers)) {}

  void clear() override {}
  void print(const std::string& text) override { printed_ += text; }
  void refresh() override {}
  int read_key() override { return key(); }
  int read_main_menu_key() override { return key(); }
  bool read_line(std::string& line, std::size_t max_chars) override;
  bool read_word(std::string& word, std::size_t max_chars) override;
  bool read_number_text(std::string& text) override;
  int wait_for_key() override { return key(); }

  const std::string& printed() const { return printed_; }

  // More reads than any reader of one file makes.
  static constexpr int kMaxReads = 64;

 private:
  int key();
  std::string next_answer();
  void count_read();

  std::string file_name_;
  std::vector<std::string> answers_;
  std::size_t next_ = 0;
  bool name_given_ = false;
  int reads_ = 0;
  std::string printed_;
};

}  // namespace refx
