#pragma once
// The Console seam: everything the program does with the text console.
#include <string>

namespace refx {

class Console {
 public:
  virtual ~Console() = default;

  virtual void clear() = 0;
  virtual void print(const std::string& text) = 0;
  virtual void refresh() = 0;

  // Key mode (no echo, no Enter needed): one key of a menu. Returns -1 at end of input.
  // Arrow, page and function keys are read whole and dropped; a terminal that changed size
  // gives kRedrawKey, which matches no command, so the menu draws itself anew.
  virtual int read_key() = 0;
  // The main menu's key read. Returns -1 at end of input.
  virtual int read_main_menu_key() = 0;
  // Line mode with echo: one edited line of at most max_chars characters, blanks kept.
  // False at end of input.
  virtual bool read_line(std::string& line, std::size_t max_chars) = 0;
  // One blank-delimited word of at most max_chars characters. False when none came.
  virtual bool read_word(std::string& word, std::size_t max_chars) = 0;
  // The text a numeric entry converts. False at end of input.
  virtual bool read_number_text(std::string& text) = 0;
  // Key mode: wait for one key and return it (-1 at end of input).
  virtual int wait_for_key() = 0;
  // Drops keys typed ahead, unread (those typed into the terminal while a plot was open).
  virtual void drop_typed_ahead() {}
};

// What a key read gives when the screen must be drawn again rather than a key acted on.
constexpr int kRedrawKey = 0;

}  // namespace refx
