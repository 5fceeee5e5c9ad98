// Start-up from the configuration file, the main menu, and the 80-bit codec.
#include "shell/startup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shell/fatal.h"
#include "shell/float80.h"
#include "shell/main_menu.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

// Runs start-up on a configuration text (none: no file); the exit status, or -1 when it started.
int start_with(const char* config, Program& p, ScriptedConsole& con,
               const BuildConstants& build = kLinuxBuild) {
  TempDir dir;
  if (config) dir.write(build.config_file_name, config);
  p.build = &build;
  try {
    start_up(p, con);
  } catch (const ProgramExit& stop) {
    return stop.status;
  }
  return -1;
}

TEST(StartUp, ReadsDataLinesAfterCommentsInAnyBase) {
  auto p = make_program();
  ScriptedConsole con;
  EXPECT_EQ(start_with("# rate\n#\n10\n# points\n2\n0x100\n0100\nignored\n", *p, con), -1);
  EXPECT_EQ(p->sampling_rate, 10.0L);
  EXPECT_EQ(p->num_meas_points, 2);
  EXPECT_EQ(p->maxx, 256);
  EXPECT_EQ(p->maxy, 64);
  EXPECT_EQ(p->delt, 1.0L / 10.0L);
  EXPECT_EQ(p->deltat, 0.1f);
  EXPECT_EQ(con.transcript(), "");
}

TEST(StartUp, FailuresEndWithTheirMessageAndStatus) {
  const std::string end = "Program will be terminated\nPress any A/N key to continue:\n";
  const std::string format = "Error in input file format\n" + end;
  const std::string power = "Error - num_meas_points is not a power of 2\n" + end;
  const struct {
    const char* config;
    int status;
    std::string text;
  } cases[] = {
      {nullptr, 1, "Error - input file not found\n" + end},
      {" # not a comment\n4096\n1000\n800\n", 0, format},
      {"1000\n4096\n", 0, format},
      {"1000\n1\n1000\n800\n", 0, power},
      {"1000\n3000\n1000\n800\n", 0, power},
      {"1000\n131072\n1000\n800\n", 0,
       "Error - num_meas_points is too large (maximum 65536)\n" + end},
  };
  for (const auto& c : cases) {
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with(c.config, *p, con), c.status) << c.text;
    EXPECT_EQ(con.transcript(), c.text);
    EXPECT_EQ(con.waits(), 1);
  }
  auto p = make_program();
  ScriptedConsole con("x");
  EXPECT_EQ(start_with("1000\n1024\n255 255\n", *p, con, kWindowsBuild), 0);
  EXPECT_EQ(con.transcript(),
            "Error in input file format\nProgram will be terminated.\n"
            "Press any A/N key to continue:\n");
}

TEST(MainMenu, BTogglesTheFileFormatAndQEnds) {
  auto p = started_program();
  ScriptedConsole con("bxBq");
  EXPECT_THROW(main_menu(*p, con), ProgramExit);
  const std::string head =
      "T for time waveforms menu\nF for FFT menu\nB to toggle binary/ascii rw option";
  const char* shown[] = {" (ascii-magph", " (binary-ri", " (binary-ri", " (ascii-magph"};
  ASSERT_EQ(con.screens().size(), 4u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(con.screens()[i], head + shown[i] + " selected)\nQ to quit program\n");
  EXPECT_EQ(p->i_rw_bin_ascii, 2);
}

TEST(Float80, KnownBytesPiAndBothWidths) {
  const struct {
    long double value;
    unsigned char bytes[10];
  } known[] = {
      {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
      {0.1L, {0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}},
      {started_program()->pi, {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}},
  };
  for (const auto& k : known) {
    unsigned char out[10];
    encode_float80(k.value, out);
    EXPECT_EQ(std::memcmp(out, k.bytes, 10), 0);
    EXPECT_EQ(decode_float80(k.bytes), k.value);
  }
  EXPECT_EQ(started_program(10, 2, kWindowsBuild)->pi, started_program()->pi);
  std::FILE* f = std::tmpfile();
  EXPECT_TRUE(write_float80(f, -2.0L, 12));
  EXPECT_TRUE(write_float80(f, 0.1L, 10));
  std::fputs("\xAB\xCD", f);
  EXPECT_EQ(std::ftell(f), 24);
  std::rewind(f);
  long double a = 0, b = 0;
  EXPECT_TRUE(read_float80(f, &a, 12));
  EXPECT_TRUE(read_float80(f, &b, 12));  // padding bytes ignored
  EXPECT_EQ(a, -2.0L);
  EXPECT_EQ(b, 0.1L);
  EXPECT_FALSE(read_float80(f, &a, 10));  // the file ends inside a value
  std::fclose(f);
}

}  // namespace
}  // namespace refx
