#pragma once
// A Console for tests: keys and lines come from a script of typed characters, and
// everything printed is recorded, screen by screen.
#include <stdexcept>
#include <string>
#include <vector>

#include "console/console.h"

namespace refx {

// Thrown when the program asks for input after the script has run out.
struct ScriptExhausted : std::runtime_error {
  ScriptExhausted() : std::runtime_error("script exhausted") {}
};

class ScriptedConsole : public Console {
 public:
  explicit ScriptedConsole(std::string typed = "") : typed_(std::move(typed)) {}

  void type(const std::string& more) { typed_ += more; }

  void clear() override {
    screens_.emplace_back();
    ++clears_;
  }
  void print(const std::string& text) override {
    if (screens_.empty()) screens_.emplace_back();
    screens_.back() += text;
    transcript_ += text;
  }
  void refresh() override {}
  int read_key() override { return next(); }
  int read_main_menu_key() override { return next(); }
  bool read_line(std::string& line, std::size_t max_chars) override;
  bool read_word(std::string& word, std::size_t max_chars) override;
  bool read_number_text(std::string& text) override { return read_line(text, 255); }
  int wait_for_key() override {
    ++waits_;
    return next();
  }

  // Everything printed since the start, across screens.
  const std::string& transcript() const { return transcript_; }
  // The text of the screen now shown (since the last clear).
  std::string screen() const { return screens_.empty() ? "" : screens_.back(); }
  const std::vector<std::string>& screens() const { return screens_; }
  int clears() const { return clears_; }
  int waits() const { return waits_; }
  bool script_done() const { return pos_ >= typed_.size(); }

 private:
  int next();

  std::string typed_;
  std::size_t pos_ = 0;
  std::string transcript_;
  std::vector<std::string> screens_;
  int clears_ = 0;
  int waits_ = 0;
};

}  // namespace refx
