#pragma once
// The handful of values and texts that differ between refx_lin and refx_win.
// One definition per platform folder; main picks its own, tests may use either.

namespace refx {

struct BuildConstants {
  const char* config_file_name;         // "refx_lin.in" / "refx_win.in"
  bool windows;                         // configuration lines 3 to 8 are the Windows ones
  int binary_value_bytes;               // 12 (10 value bytes + 2 padding) / 10
  bool read_prompt_takes_word;          // Windows reads file names as one word
  bool comment_is_word;                 // Windows reads some comments as one word
  bool interval_check_in_double;        // Windows compares sample intervals in double
  const char* format_error_terminated;  // "Program will be terminated\n" / "...terminated.\n"
  const char* rrc_lpf_toggle_line;      // reflection removal menu, key L
};

extern const BuildConstants kLinuxBuild;
extern const BuildConstants kWindowsBuild;

}  // namespace refx
