// Window functions: the five shapes, set-up errors, the menu, and application.
#include "waveforms/window_functions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "shell/program.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

const char* kPause = "Press any A/N key to continue\n";

std::string window_menu_lines(const std::string& first_line, bool with_release) {
  return first_line +
         "A to set up Bartlett(linear) window\nN to set up Hanning(cosine) window\n"
         "M to set up Hamming(cosine-residual) window\nL to set up Blackman(double cosine) "
         "window\nP to set up Parzen(cubic) window\n" +
         (with_release ? "R to release window\n" : "") +
         "Q to return to time waveforms menu\nEnter Command :\n";
}

TEST(WindowShapes, ParzenOverFourStepsIsTheCubicPieces) {
  long double w[5];
  fill_window(5, 4, 3.141592653589793238462643383279502884L, w);
  // 1 - 6a^2 + 6a^3 up to the middle, 2(1 - a)^3 after, a = k/4.
  EXPECT_EQ(w[0], 1.0L);
  EXPECT_EQ(w[1], 1.0L - 6.0L / 16 + 6.0L / 64);
  EXPECT_EQ(w[2], 1.0L - 6.0L / 4 + 6.0L / 8);
  EXPECT_EQ(w[3], 2.0L / 64);
  EXPECT_EQ(w[4], 0.0L);
}

TEST(WindowShapes, EveryShapeStartsAtOneAndFollowsItsClosedForm) {
  const long double pi = 3.141592653589793238462643383279502884L;
  const long D = 37;
  long double w[6][D + 1];
  for (int type = 1; type <= 5; ++type) fill_window(type, D, pi, w[type]);
  for (int type : {1, 2, 3, 5}) EXPECT_EQ(w[type][0], 1.0L) << type;
  // 0.42 + 0.5 + 0.08 in extended precision lands one unit below 1.
  EXPECT_NEAR(w[4][0], 1.0L, 1e-18L);
  for (long k = 0; k <= D; ++k) {
    const long double x = static_cast<long double>(k) / D;  // 0 .. 1
    EXPECT_NEAR(w[1][k], 1 - x, 1e-18L);
    // Hanning is the squared cosine of half the angle.
    const long double c = std::cos(x * pi / 2);
    EXPECT_NEAR(w[2][k], c * c, 1e-18L);
    EXPECT_NEAR(w[3][k], 0.08L + 0.92L * c * c, 1e-18L);
    // Blackman: 0.42 + 0.5 cos t + 0.08 (2 cos^2 t - 1), t = x pi.
    const long double ct = std::cos(x * pi);
    EXPECT_NEAR(w[4][k], 0.34L + 0.5L * ct + 0.16L * ct * ct, 1e-18L);
    // Parzen falls strictly through both of its pieces.
    if (k > 0) {
      EXPECT_LT(w[5][k], w[5][k - 1]);
    }
  }
  EXPECT_NEAR(w[1][D], 0.0L, 1e-18L);
  EXPECT_NEAR(w[2][D], 0.0L, 1e-18L);
  EXPECT_NEAR(w[3][D], 0.08L, 1e-18L);
  EXPECT_NEAR(w[4][D], 0.0L, 1e-18L);
  EXPECT_NEAR(w[5][D], 0.0L, 1e-18L);
}

TEST(WindowApplication, HammingFrom101To200) {
  auto p = started_program(1000.0L, 256);
  for (int i = 0; i < 256; ++i) p->wf.y2a[i] = 1.0L + i;
  ScriptedConsole con("M101\n200\nq");
  window_menu(*p, con);
  ASSERT_EQ(p->wf.window_type, 3);
  apply_window(p->wf, p->wf.y2a);
  const long double pi = p->pi;
  for (int i = 0; i < 100; ++i) EXPECT_EQ(p->wf.y2a[i], 1.0L + i) << i;  // points 1..100
  EXPECT_EQ(p->wf.y2a[100], 101.0L);                                     // point 101 x 1
  for (int i = 101; i < 199; ++i)
    EXPECT_NEAR(p->wf.y2a[i], (1.0L + i) * (0.54L + 0.46L * std::cos((i - 100) * pi / 99)), 1e-15L)
        << i;
  for (int i = 199; i < 256; ++i) EXPECT_NEAR(p->wf.y2a[i], (1.0L + i) * 0.08L, 1e-15L) << i;
  // Applying twice applies twice.
  apply_window(p->wf, p->wf.y2a);
  EXPECT_NEAR(p->wf.y2a[255], 256.0L * 0.08L * 0.08L, 1e-15L);
  EXPECT_EQ(p->wf.y1a[255], 0.0L);  // only the slot given
}

TEST(WindowMenu, ScreensPromptsAndRelease) {
  auto p = started_program(1000.0L, 64);
  ScriptedConsole con("a1\n5\nn2\n9\nr xq");
  window_menu(*p, con);
  const auto& s = con.screens();
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[0], window_menu_lines("No window currently set up\n", false) +
                      "Enter first point, where window = 1 (integer index starting at 1):\n"
                      "Enter last point, where window reaches minimum (integer index starting "
                      "at 1):\n");
  EXPECT_EQ(s[1], window_menu_lines(" Bartlett(linear) (1,5) set up\n", true) +
                      "Enter first point, where window = 1 (integer index):\n"
                      "Enter last point, where window reaches minimum (integer index):\n");
  EXPECT_EQ(s[2], window_menu_lines(" Hanning(cosine) (2,9) set up\n", true));
  EXPECT_EQ(s[3], window_menu_lines("No window currently set up\n", false));  // after r
  EXPECT_EQ(s[4], s[3]);  // a blank and an x only redraw
  EXPECT_EQ(s[5], s[3]);
  EXPECT_EQ(p->wf.window_type, 0);
  EXPECT_EQ(p->wf.i_window_1, 1);  // points stay after a release
  EXPECT_EQ(p->wf.i_window_2, 8);

  // The labels of the other shapes.
  for (auto [key, label] : {std::pair<char, const char*>{'M', " Hamming(cosine-residual) ("},
                            {'L', " Blackman(double cosine) ("},
                            {'p', " Parzen(cubic) ("}}) {
    ScriptedConsole shape(std::string(1, key) + "3\n4\nq");
    window_menu(*p, shape);
    EXPECT_EQ(shape.screens().back(),
              window_menu_lines(std::string(label) + "3,4) set up\n", true));
  }
}

TEST(WindowMenu, SizeLimitIsTenThousandEntries) {
  auto p = started_program(1000.0L, 64);
  ScriptedConsole ok("A1\n10000\nq");
  window_menu(*p, ok);
  EXPECT_EQ(p->wf.window_type, 1);
  EXPECT_EQ(p->wf.i_window_2 - p->wf.i_window_1 + 1, kWindowEntries);
  EXPECT_NEAR(p->wf.window[9999], 0.0L, 1e-18L);

  ScriptedConsole big("A1\n10001\nkq");
  window_menu(*p, big);
  EXPECT_EQ(p->wf.window_type, 0);  // the earlier window is released too
  EXPECT_NE(big.transcript().find(std::string("Error - window size is bigger than array "
                                              "dimension\n") +
                                  kPause),
            std::string::npos);
  EXPECT_EQ(big.waits(), 1);
  EXPECT_EQ(big.screens().back(), window_menu_lines("No window currently set up\n", false));
  // Huge values of opposite sign are a size error, not an overflow.
  ScriptedConsole huge("A-9223372036854775808\n9223372036854775807\nkq");
  window_menu(*p, huge);
  EXPECT_NE(huge.transcript().find("Error - window size is bigger"), std::string::npos);
}

TEST(WindowMenu, PointsBelowOneAndLastNotAfterFirstAreRefused) {
  struct Case {
    const char* typed;
    const char* message;
  } cases[] = {
      {"N0\n10\n", "Error - window indices out of range\n"},
      {"N5\n0\n", "Error - window indices out of range\n"},
      {"N7\n7\n", "Error - last point must be greater than first point\n"},
      {"N9\n3\n", "Error - last point must be greater than first point\n"},
  };
  for (const Case& c : cases) {
    auto p = started_program(1000.0L, 64);
    ScriptedConsole set("P2\n6\nq");  // a window set up before is released by the error
    window_menu(*p, set);
    ASSERT_EQ(p->wf.window_type, 5);
    ScriptedConsole con(std::string(c.typed) + "kq");
    window_menu(*p, con);
    EXPECT_EQ(p->wf.window_type, 0) << c.typed;
    EXPECT_EQ(con.waits(), 1) << c.typed;
    ASSERT_EQ(con.screens().size(), 2u);
    EXPECT_EQ(con.screens()[0],
              window_menu_lines(" Parzen(cubic) (2,6) set up\n", true) +
                  "Enter first point, where window = 1 (integer index):\n"
                  "Enter last point, where window reaches minimum (integer index):\n" +
                  c.message + kPause)
        << c.typed;
    EXPECT_EQ(con.screens()[1], window_menu_lines("No window currently set up\n", false));
  }
}

TEST(WindowMenu, UnconvertedPointsKeepTheirStoredValuesBeforeTheTests) {
  auto p = started_program(1000.0L, 64);
  ScriptedConsole con("A11\n21\nAx\ny\nq");
  window_menu(*p, con);
  // The stored (counted from 0) values 10 and 20 go through the set-up again as typed
  // values: counted down once more.
  EXPECT_EQ(p->wf.window_type, 1);
  EXPECT_EQ(p->wf.i_window_1, 9);
  EXPECT_EQ(p->wf.i_window_2, 19);
}

}  // namespace
}  // namespace refx
