// Compression filter files: round trips in every format, short and long files, the spacing
// check, the name prompts, and the S action of the reflection removal menu.
#include "reflection/filter_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "reflection/filter_file_actions.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

const std::string kPause = "Press any A/N key to continue\n";

// Reads a filter into p; returns the record count.
long read_into(Program& p, Console& con, long double* delf) {
  long num = -1;
  read_rrc_filt(p, con, p.rrc.rrc_filt_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf, &num);
  return num;
}

// A program with n (at least 8) filter values spanning many magnitudes.
std::unique_ptr<Program> with_filter(long n, const BuildConstants& b = kLinuxBuild) {
  auto p = started_program(1024.0L, n, b);
  for (long k = 0; k < std::max(n, 8L); ++k) {
    p->rrc.Re_rrc_filt[k] = std::sin(k + 0.5L) * std::pow(10.0L, k % 17 - 8.0L);
    p->rrc.Im_rrc_filt[k] = -1.0L / (3.0L + k);
  }
  return p;
}

// An x87 extended value as its ten little-endian bytes.
std::string x87(std::uint64_t significand, unsigned sign_exponent) {
  std::string bytes;
  for (int i = 0; i < 80; i += 8)
    bytes += static_cast<char>((i < 64 ? significand >> i : sign_exponent >> (i - 64)) & 0xFF);
  return bytes;
}

// Saved files against hand-made ones: text records of widths 18, 41 and 41 (10 and 33
// digits) one blank apart; binary records of frequency, real and imaginary part.
TEST(FilterFiles, SavedLayoutsMatchHandMadeFiles) {
  const std::string z(31, '0'), one = std::string("\x00\x00\x00\x00\x00\x00\x00\x80", 8);
  const std::string text =
      "hand\nx\n"
      "  0.0000000000e+00   5.00" +
      z + "e-01  -1.25" + z +
      "e+03\n"
      "  2.5600000000e+02  -2.00" +
      z + "e+00   3.75" + z + "e-01\ny\n";
  const std::string pad(2, '\0');
  const std::string binary = std::string("hand").append(252, '\0') + x87(0, 0) + pad + one +
                             "\xFE\x3F" + pad + x87(0x9C40000000000000ull, 0xC009) + pad + one +
                             "\x07\x40" + pad + one + std::string("\x00\xC0", 2) + pad +
                             x87(0xC000000000000000ull, 0x3FFD) + pad;
  for (int format : {2, 1}) {
    TempDir dir;
    auto p = started_program(1024.0L, 2);
    p->i_rw_bin_ascii = format;
    Reflection& r = p->rrc;
    r.Re_rrc_filt[0] = 0.5L, r.Im_rrc_filt[0] = -1250, r.Re_rrc_filt[1] = -2,
    r.Im_rrc_filt[1] = 0.375L;
    ScriptedConsole con("f\nhand\n");
    save_rrc_filter(*p, con, r.rrc_filt_save_filename, r.Re_rrc_filt, r.Im_rrc_filt, 256, 2);
    EXPECT_EQ(dir.read("f"), format == 2 ? text : binary);
  }
}

TEST(FilterFiles, EveryFormatGivesBackEveryValueBitForBit) {
  for (int bytes : {0, 36, 30}) {  // text; 12-byte and 10-byte binary values
    TempDir dir;
    auto saver = with_filter(64, bytes == 30 ? kWindowsBuild : kLinuxBuild);
    auto reader = started_program(1024.0L, 64, *saver->build);
    saver->i_rw_bin_ascii = reader->i_rw_bin_ascii = bytes ? 1 : 2;
    Reflection& s = saver->rrc;
    s.Re_rrc_filt[1] = std::numeric_limits<long double>::max();
    s.Im_rrc_filt[2] = std::numeric_limits<long double>::denorm_min() * 12345;
    ScriptedConsole con("rt.flt\ntwo words\nrt.flt\n");
    save_rrc_filter(*saver, con, s.rrc_filt_save_filename, s.Re_rrc_filt, s.Im_rrc_filt, 16, 64);
    EXPECT_TRUE(!bytes || dir.read("rt.flt").size() == 256u + 64 * bytes);
    long double delf = 0;
    EXPECT_EQ(read_into(*reader, con, &delf), 64);
    // Equal values of the extended type (no zeros or NaNs here) have equal bits.
    EXPECT_TRUE(reader->rrc.Re_rrc_filt == s.Re_rrc_filt &&
                reader->rrc.Im_rrc_filt == s.Im_rrc_filt && reader->rrc.rrc_error == 0 &&
                delf == 16.0L)
        << bytes;
  }
}

// Only a complete read replaces the filter and its name; a long file gives its first N records;
// a spacing more than 0.01 Hz off the program's warns.
TEST(FilterFiles, ReadsOfEveryLengthAndSpacing) {
  const std::string fewer =
      "Warning: number of points in rrc_filter file less than num_meas_points;\n" + kPause;
  const std::string none = "Warning - no data was found\n" + kPause + fewer;
  const struct {
    std::string contents;
    long num;
    long double delf;
    std::string typed, warnings;
  } cases[] = {
      {"c\nx\n0 1 2\n256 3 4\n512 5\ny\n", 2, 256, "f\nk", fewer},
      {"c\nx\ny\n", 0, 7, "f\nab", none},
      {std::string(276, '\1'), 0, 7, "f\nab", none},
      {"", -1, 7, "q\n", ""},
      {"c\nx\n0 1 -1\n256 2 -2\n512 3 -3\n768 4 -4\n1024 5 -5\ny\n", 4, 256, "f\n", ""},
      {"c\nx\n0 1 0\n256.005 2 0\n512 3 0\n768 4 0\ny\n", 4, 256.005L, "f\n", ""},
      {"c\nx\n10 1 0\n266.02 2 0\n512 3 0\n768 4 0\ny\n", 4, 256.02L, "f\nk",
       "Warning - delf in rrc_filter file doesn't match program value;\n" + kPause},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("f", c.contents);
    auto p = with_filter(4);
    p->i_rw_bin_ascii = c.contents[0] == '\1' ? 1 : 2;
    const Samples re = p->rrc.Re_rrc_filt, im = p->rrc.Im_rrc_filt;
    p->rrc.rrc_filt_filename = "previous.flt";
    ScriptedConsole con(c.typed);
    long double delf = 7;
    EXPECT_EQ(read_into(*p, con, &delf), c.num) << c.typed;
    EXPECT_NEAR(double(delf), double(c.delf), 1e-9);
    EXPECT_EQ(con.transcript(),
              "Enter file name containing compression filter, or Q to quit:\n" + c.warnings);
    const bool whole = c.num == 4;
    EXPECT_TRUE(p->rrc.rrc_error == !whole &&
                p->rrc.rrc_filt_filename == (whole ? "f" : "previous.flt"));
    for (long k = 0; k < 8; ++k) EXPECT_EQ(p->rrc.Re_rrc_filt[k], whole && k < 4 ? k + 1 : re[k]);
    EXPECT_TRUE(whole || p->rrc.Im_rrc_filt == im);
  }
}

TEST(FilterFiles, QIsANameAtTheSavePromptAndGivesUpOnlyAtTheRetry) {
  TempDir dir;
  auto p = started_program(10.0L, 4);
  ScriptedConsole con("Q\nc\nkno_dir/a\nq\nk");
  save_filter_action(*p, con);
  EXPECT_TRUE(dir.exists("Q") && p->rrc.rrc_error == 0);
  save_filter_action(*p, con);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_NE(con.transcript().find("File save aborted\nError saving compression filter to a file, "
                                  "operation not completed\n"),
            std::string::npos);
  // The action's spacing is 1/(N delt) in long double, 2.5 here, not the float 2.4999999627.
  EXPECT_NE(dir.read("Q").find("\n  7.5000000000e+00 "), std::string::npos);
}

}  // namespace
}  // namespace refx
