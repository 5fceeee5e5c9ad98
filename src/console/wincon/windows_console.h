#pragma once
// The Windows console back-end of the Console seam (refx_win): keys through the C runtime's
// _getch and _kbhit, the screen cleared through the console API, output to standard output
// and typed entries from standard input.
#include <functional>

#include "console/console.h"
#include "console/stream_input.h"

namespace refx {

// 'a' to 'z' become 'A' to 'Z'; every other code is returned unchanged.
int ascii_upper(int c);

// What the console waits need from the GDI plot layer; main installs them for the run.
struct PlotWindowHooks {
  // One step of the plot window's message pump; false when no plot window exists.
  std::function<bool()> pump;
  std::function<void()> close;  // closes the window and frees the layer's objects
};

class WindowsConsole : public Console {
 public:
  WindowsConsole();

  void clear() override;
  void print(const std::string& text) override;
  void refresh() override;
  // A menu key; an extended key (0 or 0xE0 and its code) is read and dropped.
  int read_key() override;
  // get_menu_key, which drops extended keys alike.
  int read_main_menu_key() override;
  bool read_line(std::string& line, std::size_t max_chars) override;
  bool read_word(std::string& word, std::size_t max_chars) override;
  bool read_number_text(std::string& text) override;
  // Waits for one key while the plot window keeps repainting; returns it.
  int wait_for_key() override;
  void drop_typed_ahead() override;

  // Never waits: with a key waiting, sets *hit to 1 and returns it; else *hit = 0, -1.
  int poll_key(int* hit);
  // While no key waits, runs the plot window's message pump; then the key.
  int get_menu_key();

  void set_plot_hooks(PlotWindowHooks hooks) { plot_ = std::move(hooks); }
  // Closes the plot window, if one is open, on the way out of the program.
  void close_plot_window();

 private:
  // Blocks until a key is waiting, pumping the plot window's messages meanwhile.
  void await_key();
  int take_key();
  // The next key that is not an extended key; -1 at end of input.
  int next_plain_key();

  PlotWindowHooks plot_;
  StreamEntry entry_;
};

}  // namespace refx
