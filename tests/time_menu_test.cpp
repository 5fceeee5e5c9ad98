// The time waveforms menu: its screen, shift, scale, add and subtract, and window functions.
#include "waveforms/time_menu.h"

#include <gtest/gtest.h>

#include <cmath>

#include "shell/program.h"
#include "support/scripted_console.h"
#include "support/test_program.h"
#include "waveforms/window_functions.h"

namespace refx {
namespace {

// The menu screen with the given shifts and scales (the values in the I and C lines).
std::string menu(const std::string& shifts = "0,0",
                 const std::string& scales = "1.000000e+00,1.000000e+00") {
  return "R to read time waveform(s) from disk\nS to save time waveform(s) to disk\n"
         "P to plot time waveforms\nA to change vertical axis range for plots vs. time\n"
         "T to subtract time waveforms (y1 - y2 -> y1)\nU to add time waveforms (y1 + y2 -> y1)\n"
         "W to set up window function\nL to remove reflections using a compression filter\n"
         "I to shift time waveforms (" +
         shifts + ")\nC to scale time waveforms (" + scales +
         ")\nQ to return to main menu\nEnter Command :\n";
}

std::unique_ptr<Program> ramps(long n) {
  auto p = started_program(1000.0L, n);
  for (long i = 0; i < n; ++i) p->wf.y1a[i] = 1000 + i, p->wf.y2a[i] = 0.5L * i - 3;
  return p;
}

TEST(TimeMenu, ShiftIsAbsoluteAndCircularAndScaleIsCumulative) {
  const long n = 16;
  auto p = ramps(n);
  const Samples before = p->wf.y1a;
  ScriptedConsole con("xi3\n1\n3\nkI1\n-2\nkc0\n2\n2\nq");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(con.screens()[0], menu());
  EXPECT_EQ(con.screens()[3],
            menu("-2,0") +
                "Enter waveform number to be scaled, 1 or 2:\n"
                "Error - enter waveform number again\nEnter scale factor for waveform 2:\n");
  EXPECT_EQ(con.screens()[4], menu("-2,0", "1.000000e+00,2.000000e+00"));
  EXPECT_NE(con.screens()[1].find("Waveform 1 has been shifted to 3\n"), std::string::npos);
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y1a[i], before[(i + 2) % n]) << i;
  EXPECT_EQ(p->wf.y2a[5], 2.0L * (0.5L * 5 - 3));

  // n-1 then 1-n: the second move, 2-2n, wraps to +2.
  ScriptedConsole wrap("I1\n15\nkI1\n-15\nkq");
  time_waveforms_menu(*p, wrap);
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y1a[i], before[(i + 15) % n]) << i;
  EXPECT_EQ(p->wf.i_shift_wf1, -15);
}

TEST(TimeMenu, SubtractAndAddStopAtTheTruncationPoint) {
  for (const char key : {'t', 'u'}) {
    const long n = 256;
    auto p = ramps(n);
    const Samples y1 = p->wf.y1a, y2 = p->wf.y2a;
    (key == 't' ? p->wf.i_truncatet1 : p->wf.i_truncatet2) = 100;
    ScriptedConsole con(std::string(1, key) + "kq");
    time_waveforms_menu(*p, con);
    EXPECT_NE(con.screens()[0].find(key == 't' ? "T to subtract ***truncated*** time"
                                               : "U to add ***truncated*** time"),
              std::string::npos);
    for (long i = 0; i < n; ++i) {
      const long double beyond = key == 't' ? -y2[i] : y1[i];
      EXPECT_EQ(p->wf.y1a[i], i >= 100 ? beyond : key == 't' ? y1[i] - y2[i] : y1[i] + y2[i]) << i;
    }
  }
}

TEST(Windows, ParzenOverFourStepsAndHammingAppliedFrom101To200) {
  long double w[5];
  fill_window(5, 4, make_program()->pi, w);
  const long double parzen[] = {1, 1 - 6.0L / 16 + 6.0L / 64, 1 - 6.0L / 4 + 6.0L / 8, 2.0L / 64,
                                0};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(w[k], parzen[k]) << k;

  auto p = ramps(256);
  for (int i = 0; i < 256; ++i) p->wf.y2a[i] = 1.0L + i;
  ScriptedConsole con("wM101\n200\nqy2\nkq");
  time_waveforms_menu(*p, con);
  EXPECT_NE(con.transcript().find("W to set up window function Hamming(cosine-residual) (101,200)\n"
                                  "Y to apply window function\n"),
            std::string::npos);
  for (int i = 0; i < 256; ++i) {
    const long double c = std::cos((i - 100) * p->pi / 99);
    const long double factor = i <= 100 ? 1 : i < 199 ? 0.54L + 0.46L * c : 0.08L;
    EXPECT_NEAR(p->wf.y2a[i], (1.0L + i) * factor, 1e-15L) << i;
  }
  EXPECT_EQ(p->wf.y1a[255], 1255.0L);
}

TEST(Windows, BadPointsAndSizesAreRefusedAndReleaseTheWindow) {
  const struct {
    const char* typed;
    const char* message;
  } cases[] = {
      {"N0\n10\n", "Error - window indices out of range\n"},
      {"N7\n7\n", "Error - last point must be greater than first point\n"},
      {"N9\n3\n", "Error - last point must be greater than first point\n"},
      {"A1\n10001\n", "Error - window size is bigger than array dimension\n"},
  };
  for (const auto& c : cases) {
    auto p = started_program(1000.0L, 64);
    ScriptedConsole con(std::string("A1\n10000\n") + c.typed + "kq");
    window_menu(*p, con);
    EXPECT_NE(con.screens()[1].find(std::string(c.message) + "Press any A/N key to continue\n"),
              std::string::npos)
        << c.typed;
    EXPECT_EQ(p->wf.window_type, 0) << c.typed;
    EXPECT_EQ(con.screens()[1].find(" Bartlett(linear) (1,10000) set up\n"), 0u);
  }
}

}  // namespace
}  // namespace refx
