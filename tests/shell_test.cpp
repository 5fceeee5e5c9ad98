// The shell: value entry and name prompts on both consoles, start-up, the main menu.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "app/main_menu.h"
#include "app/startup.h"
#include "console/console_io.h"
#include "console/file_save.h"
#include "console/stream_input.h"
#include "core/fatal.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

// Typed entries come from a stream through StreamEntry, as in refx_win.
struct StreamConsole : ScriptedConsole {
  explicit StreamConsole(const std::string& typed) : in(std::tmpfile()), entry(in, stdout) {
    std::fputs(typed.c_str(), in);
    std::rewind(in);
  }
  ~StreamConsole() override { std::fclose(in); }
  bool read_line(std::string& l, std::size_t n) override { return entry.read_line(l, n); }
  bool read_word(std::string& w, std::size_t n) override { return entry.read_word(w, n); }
  bool read_number_text(std::string& t) override { return entry.read_number_text(t); }
  std::FILE* in;
  StreamEntry entry;
};

TEST(ValueEntry, UnconvertedTextKeepsTheValueOnBothConsoles) {
  ScriptedConsole con("abc\n2x\n   17\n99999999999\n1e3\nx\n");
  StreamConsole win("abc\n2x\n\n   17\n99999999999\n1e3\nx\n");
  for (Console* c : {static_cast<Console*>(&con), static_cast<Console*>(&win)}) {
    int v = 5, got[4];  // letters keep 5; 2x gives 2; leading blanks; out of range keeps 17
    for (int& g : got) get_integer(*c, &v), g = v;
    EXPECT_EQ(std::vector<int>(got, got + 4), (std::vector<int>{5, 2, 17, 17}));
    long double f = 7;
    for (int i = 0; i < 2; ++i) get_long_double(*c, &f);  // 1e3, then x keeps it
    EXPECT_EQ(f, 1000.0L);
  }
  // The Windows re-prompt waits for a new line: "abc def" is refused once, then 2x gives 2.
  StreamConsole again("abc def\n2x\n0\n7\n");
  const char* error = "Error - enter integer again:\n";
  int v = 0, w = 0;
  get_integer_in_range(again, &v, 1, 9, error), get_integer_in_range(again, &w, 5, 9, error);
  EXPECT_TRUE(v == 2 && w == 7 && again.transcript() == std::string(error) + error)
      << again.transcript();
}

TEST(NamePrompts, ReadTakesTheLineSaveOneWordAndOnlyQAloneQuits) {
  ScriptedConsole con("my file.txt\n  my file.txt\n   \n");
  StreamConsole win("\n\n  two words\n  a comment \n");
  std::string line, word, blank = "old", first, comment;
  read_name_line(con, false, line), read_name_word(con, word), read_name_word(con, blank);
  read_name_line(win, true, first), read_comment(win, false, comment);
  // A blank answer never falls back to an earlier name; on refx_win blank lines are skipped and
  // the rest of the line dropped.
  EXPECT_EQ(line + "|" + word + "|" + blank + "|" + first + "|" + comment,
            "my file.txt|my||two|  a comment ");
  for (const char* answer : {"Q", "q", "Q ", "quit", ""})
    EXPECT_EQ(is_quit_answer(answer), std::strlen(answer) == 1) << '"' << answer << '"';
}

TEST(NamePrompts, OpenRetriesUntilAFileOpens) {
  TempDir dir;
  dir.write("there.txt", "x");
  ScriptedConsole con("not here\nthere.txt\nno/dir/b\nok.txt\n");
  std::string name;
  auto opened = [](std::FILE* f) { return f && std::fclose(f) == 0; };
  EXPECT_TRUE(opened(open_for_read(con, "Name:\n", false, name, "r")));
  name = "no/dir/a";
  // The target is only checked: nothing is created until the save writes.
  EXPECT_TRUE(choose_save_target(con, name) && name == "ok.txt" && !dir.exists("ok.txt"));
  const std::string retry = "Error opening file, enter another name or Q to quit:\n";
  EXPECT_EQ(con.transcript(), "Name:\nError opening file not here;\nName:\n" + retry + retry);
}

// Runs start-up on a configuration text (none: no file); the exit status, or -1 when it started.
int start_with(const char* config, Program& p, ScriptedConsole& con,
               const BuildConstants& build = kLinuxBuild) {
  TempDir dir;
  if (config) dir.write(build.config_file_name, config);
  p.build = &build;
  try {
    start_up(p, con);
    return -1;
  } catch (const ProgramExit& stop) {
    return stop.status;
  }
}

// Lines are taken in pieces of 498 characters: the rest of a longer comment is a data line,
// and so is the rest of a longer data line.
TEST(StartUp, ReadsDataLinesAfterCommentsInAnyBaseInPiecesOf498) {
  auto p = make_program();
  ScriptedConsole con;
  const std::string config = "# rate\n#\n#" + std::string(497, 'x') + "10\n# points\n2" +
                             std::string(497, ' ') + "0x100\n0100\nignored\n";
  EXPECT_EQ(start_with(config.c_str(), *p, con), -1);
  EXPECT_TRUE(p->num_meas_points == 2 && p->maxx == 256 && p->maxy == 64 && p->delt == 1.0L / 10 &&
              p->deltat == 0.1f);
  // The constants in full precision: ln 2 as logl gives it, ln 10 in single precision.
  EXPECT_TRUE(p->ln_2 == std::log(2.0L) && p->ln_10 == 2.3025851f);
  // 65536 points is the largest size; the plots start on every sample, or on bins 1 to N/2 + 1.
  ScriptedConsole big;
  EXPECT_EQ(start_with("1024\n65536\n1000\n800\n", *p, big), -1);
  const PlotState& s = p->plot;
  EXPECT_EQ(std::vector<long>({s.t.i_min, s.t.i_max, s.t.i_truncate, s.a.i_min, s.a.i_max,
                               s.a.i_truncate, s.p.i_max, p->fft.npts_cutoff_avg}),
            std::vector<long>({1, 65536, 65536, 1, 32769, 32769, 32769, 32768}));
}

TEST(StartUp, FailuresEndWithTheirMessageAndStatus) {
  const std::string end = "Program will be terminated\nPress any A/N key to continue:\n";
  const std::string format = "Error in input file format\n" + end;
  const std::string power = "Error - num_meas_points is not a power of 2\n" + end;
  using Case = std::tuple<const char*, int, std::string, const BuildConstants*>;
  const Case cases[] = {
      {nullptr, 1, "Error - input file not found\n" + end, &kLinuxBuild},
      {" # not a comment\n4096\n1000\n800\n", 0, format, &kLinuxBuild},
      {"1000\n4096\n", 0, format, &kLinuxBuild},
      {"1000\n\n4096\n1000\n800\n", 0, format, &kLinuxBuild},  // a blank line is no comment
      {"1000\n1\n1000\n800\n", 0, power, &kLinuxBuild},
      {"1000\n3000\n1000\n800\n", 0, power, &kLinuxBuild},
      {"1000\n131072\n1000\n800\n", 0,
       "Error - num_meas_points is too large (maximum 65536)\n" + end, &kLinuxBuild},
      {"1000\n1024\n255 255\n", 0,  // the Windows build stops with a full stop
       "Error in input file format\nProgram will be terminated.\nPress any A/N key to continue:\n",
       &kWindowsBuild},
  };
  for (const auto& [config, status, text, build] : cases) {
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with(config, *p, con, *build), status) << text;
    EXPECT_TRUE(con.transcript() == text && con.waits() == 1) << con.transcript();
  }
}

// Rates that are not finite numbers in range and plot sizes the window system cannot take
// end the run as format errors; the bounds themselves start.
TEST(StartUp, RatesAndPlotSizesOutOfRangeAreFormatErrors) {
  const std::string format =
      "Error in input file format\nProgram will be terminated\nPress any A/N key to continue:\n";
  for (const char* rate : {"0", "-5", "nan", "inf", "-inf", "1e4000", "1.0001e30", "0.9999e-30"}) {
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with((std::string(rate) + "\n1024\n1000\n800\n").c_str(), *p, con), 0) << rate;
    EXPECT_EQ(con.transcript(), format) << rate;
  }
  for (const char* size : {"0 800", "-5 800", "63 800", "1000 63", "32768 800", "1000 0x8000"}) {
    std::string config = std::string("1000\n1024\n") + size;
    config[config.find(' ')] = '\n';
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with((config + "\n").c_str(), *p, con), 0) << size;
    EXPECT_EQ(con.transcript(), format) << size;
  }
  for (const char* config : {"1e30\n1024\n64\n32767\n", "1e-30\n1024\n32767\n64\n"}) {
    auto p = make_program();
    ScriptedConsole con;
    EXPECT_EQ(start_with(config, *p, con), -1) << config;
    EXPECT_TRUE(std::isfinite(p->fft.deltaf) && p->fft.deltaf > 0 && p->deltat > 0) << config;
  }
}

// With the configuration file missing and no key to come (the console gives up on its input
// as at a hang-up), the run still ends with status 1.
TEST(StartUp, MissingFileEndsWithStatusOneWhenInputHasEnded) {
  struct Ended : ScriptedConsole {
    int wait_for_key() override { throw ProgramExit{0}; }
  } con;
  auto p = make_program();
  EXPECT_EQ(start_with(nullptr, *p, con), 1);
  EXPECT_EQ(con.transcript().rfind("Error - input file not found\n", 0), 0u);
}

// A redraw in place of a key (after the terminal was resized) acts at no menu: the screens
// are drawn again and nothing else changes.
TEST(MainMenu, TheRedrawKeyOnlyRedraws) {
  auto p = started_program();
  ScriptedConsole con(std::string("\0t\0r\0q\0q\0", 9) + "q");
  EXPECT_THROW(main_menu(*p, con), ProgramExit);
  EXPECT_TRUE(con.script_done() && p->i_rw_bin_ascii == 2);
  EXPECT_EQ(con.clears(), 10);  // main, main, time, time, read, read, time, time, main, main
}

TEST(MainMenu, BTogglesTheFileFormatAndQEnds) {
  auto p = started_program();
  ScriptedConsole con("bxBq");
  EXPECT_THROW(main_menu(*p, con), ProgramExit);
  const std::string head =
      "T for time waveforms menu\nF for FFT menu\nB to toggle binary/ascii rw option";
  std::vector<std::string> want;
  for (const char* shown : {" (ascii-magph", " (binary-ri", " (binary-ri", " (ascii-magph"})
    want.push_back(head + shown + " selected)\nQ to quit program\n");
  EXPECT_EQ(con.screens(), want);
  EXPECT_EQ(p->i_rw_bin_ascii, 2);
}

}  // namespace
}  // namespace refx
