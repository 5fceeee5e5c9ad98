// Typed values that feed a computation: not-a-number, infinities, values too large for
// long double and values just past each value's bound are refused and change nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "console/console_io.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_menu.h"
#include "spectral/fft_menu.h"
#include "support/scripted_console.h"
#include "support/test_program.h"
#include "waveforms/time_menu.h"

namespace refx {
namespace {

enum class Menu { kTime, kFft, kRrc };

// A prompt either keeps the old value and says so (then a pause), or asks again: the script
// then runs out and the value must still be the old one.
enum class Style { kKeeps, kAsksAgain };

struct TypedValue {
  const char* name;
  Menu menu;
  const char* before;  // keys that lead to the prompt
  const char* after;   // keys that answer what follows the pause and leave the menu
  Style style;
  const char* refusal;  // the line printed on a refusal
  std::function<long double(const Program&)> value;
  std::function<long double(const Program&)> limit;
};

const char* const kKept = "; the previous value was kept\n";

// A program with a filter, band limiting with a constant phase slope, the low-pass filter
// on and de-compression fmax enabled, so every setting key acts.
std::unique_ptr<Program> ready_program() {
  auto p = started_program(1048576.0L, 1024);
  Reflection& r = p->rrc;
  r.rrc_filt = 1, r.enable_fmax_rrc_compress = 1, r.fmax_rrc_compress = 100000;
  r.use_lpf_rrc = 1, r.n_lpf = 2, r.f0_lpf = 5000, r.fmax_rrc_lim_lpf_inv = 7000;
  r.enable_fmax_rrc_decompress = 1, r.fmax_rrc_decompress = 3000;
  r.phase_comp_fmax_compress = 1.5L;
  p->fft.Tg = 2e-6f, p->fft.fft_mag_avg_frac = 0.25L, p->fft.npts_cutoff_avg = 17;
  p->plot.t.ymax = 3, p->plot.t.ymin = -3, p->plot.a.ymax = 20, p->plot.a.ymin = -60;
  for (long i = 0; i < 1024; ++i) p->wf.y1a[i] = 0.5L + i;
  return p;
}

long double plain(long double limit) {
  return limit;
}

const TypedValue kValues[] = {
    {"scale factor", Menu::kTime, "c1\n", "kq", Style::kKeeps, kKept,
     [](const Program& p) { return p.wf.scale_wf1 + p.wf.y1a[7]; },
     [](const Program&) { return plain(kTypedValueLimit); }},
    {"time plot maximum", Menu::kTime, "a", "k\nq", Style::kKeeps, kKept,
     [](const Program& p) { return p.plot.t.ymax; },
     [](const Program&) { return plain(kPlotScaleLimit); }},
    {"time plot minimum", Menu::kTime, "a\n", "kq", Style::kKeeps, kKept,
     [](const Program& p) { return p.plot.t.ymin; },
     [](const Program&) { return plain(kPlotScaleLimit); }},
    {"amplitude plot maximum", Menu::kFft, "p", "k\nq", Style::kKeeps, kKept,
     [](const Program& p) { return p.plot.a.ymax; },
     [](const Program&) { return plain(kPlotScaleLimit); }},
    {"amplitude plot minimum", Menu::kFft, "p\n", "kq", Style::kKeeps, kKept,
     [](const Program& p) { return p.plot.a.ymin; },
     [](const Program&) { return plain(kPlotScaleLimit); }},
    {"phase plot delay (G)", Menu::kFft, "g", "kq", Style::kKeeps, kKept,
     [](const Program& p) { return p.fft.Tg; },
     [](const Program& p) { return static_cast<long double>(tau_limit(p)); }},
    {"octave fraction (V)", Menu::kFft, "v2\n", "", Style::kAsksAgain,
     "Error entering octave fraction; try again\n",
     [](const Program& p) { return p.fft.fft_mag_avg_frac; },
     [](const Program&) { return kMaxOctaveFraction; }},
    {"averaging cut-off (F)", Menu::kFft, "f", "", Style::kAsksAgain,
     "Error entering frequency; try again\n",
     [](const Program& p) { return static_cast<long double>(p.fft.npts_cutoff_avg); },
     [](const Program&) { return kTypedValueLimit; }},
    {"phase compensation (U)", Menu::kRrc, "u", "kq", Style::kKeeps, kKept,
     [](const Program& p) { return p.rrc.phase_comp_fmax_compress; },
     [](const Program&) { return kMaxPhaseCompensation; }},
    {"de-compression fmax (X)", Menu::kRrc, "x", "kq", Style::kKeeps, kKept,
     [](const Program& p) { return p.rrc.fmax_rrc_decompress; },
     [](const Program&) { return kTypedValueLimit; }},
    {"compression fmax (N)", Menu::kRrc, "n", "", Style::kAsksAgain, "Error - enter again:\n",
     [](const Program& p) { return p.rrc.fmax_rrc_compress; },
     [](const Program&) { return kTypedValueLimit; }},
    {"low-pass cut-off (P)", Menu::kRrc, "p2\n", "", Style::kAsksAgain, "Error - enter again:\n",
     [](const Program& p) { return p.rrc.f0_lpf; },
     [](const Program&) { return kTypedValueLimit; }},
    {"inverse low-pass limit (K)", Menu::kRrc, "k", "", Style::kAsksAgain, "Error - enter again:\n",
     [](const Program& p) { return p.rrc.fmax_rrc_lim_lpf_inv; },
     [](const Program&) { return kTypedValueLimit; }},
};

void run(Menu menu, Program& p, ScriptedConsole& con) {
  if (menu == Menu::kTime) time_waveforms_menu(p, con);
  if (menu == Menu::kFft) fft_menu(p, con);
  if (menu == Menu::kRrc) rrc_menu(p, con);
}

// Runs the menu on the keys; a prompt that asks again ends the script by running it out.
std::string session(const TypedValue& v, Program& p, const std::string& answer) {
  ScriptedConsole con(std::string(v.before) + answer + "\n" + v.after);
  if (v.style == Style::kAsksAgain)
    EXPECT_THROW(run(v.menu, p, con), ScriptExhausted) << v.name << " " << answer;
  else
    run(v.menu, p, con);
  return con.transcript();
}

std::string number_text(long double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.12Le", x);
  return text;
}

TEST(TypedValues, NonFiniteAndTooLargeAreRefusedAndChangeNothing) {
  for (const TypedValue& v : kValues) {
    auto probe = ready_program();
    const long double limit = v.limit(*probe);
    const std::string past = number_text(limit * (1 + 1e-6L));
    const std::string answers[] = {"nan", "inf", "-inf", "1e4000", past, "-" + past};
    for (const std::string& answer : answers) {
      auto p = ready_program();
      const long double before = v.value(*p);
      const std::string said = session(v, *p, answer);
      EXPECT_EQ(v.value(*p), before) << v.name << " took " << answer;
      EXPECT_NE(said.find(v.refusal), std::string::npos) << v.name << " " << answer;
      EXPECT_EQ(said.find("has been"), std::string::npos) << v.name << " " << answer;
    }
  }
}

// The bound itself is a value: each prompt takes it without a word.
TEST(TypedValues, TheBoundItselfIsTaken) {
  for (const TypedValue& v : kValues) {
    auto p = ready_program();
    const long double limit = v.limit(*p);
    const long double before = v.value(*p);
    ScriptedConsole con(std::string(v.before) + number_text(limit) + "\n" +
                        (v.style == Style::kKeeps ? std::string(v.after).substr(1) : "q"));
    run(v.menu, *p, con);
    EXPECT_NE(v.value(*p), before) << v.name;
    EXPECT_EQ(con.transcript().find(v.refusal), std::string::npos) << v.name;
  }
}

TEST(TypedValues, RefusalNamesTheRangeAndPauses) {
  auto p = ready_program();
  ScriptedConsole con("unan\nkq");
  rrc_menu(*p, con);
  EXPECT_NE(con.transcript().find("Error - value must be a finite number between -10000 and "
                                  "10000; the previous value was kept\nPress any A/N key"),
            std::string::npos);
  EXPECT_EQ(p->rrc.phase_comp_fmax_compress, 1.5L);
}

// Scaling that would overflow a sample refuses the whole scaling.
TEST(TypedValues, ScalingThatOverflowsASampleChangesNothing) {
  auto p = ready_program();
  p->wf.y1a[1000] = 1e4700L;
  const Samples y = p->wf.y1a;
  ScriptedConsole con("c1\n1e300\nkq");
  time_waveforms_menu(*p, con);
  EXPECT_NE(con.transcript().find("Error - scaling gives values that are not finite numbers; "
                                  "waveform 1 was not changed\n"),
            std::string::npos);
  EXPECT_EQ(p->wf.y1a, y);
  EXPECT_EQ(p->wf.scale_wf1, 1.0L);
}

}  // namespace
}  // namespace refx
