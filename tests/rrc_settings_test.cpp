// The setting operations of reflection removal: prompts, checks and messages byte for byte.
#include <gtest/gtest.h>

#include "reflection/rrc_actions.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

// Runs one action; the script must be used up exactly (ScriptExhausted if it asks more).
std::string run(void (*action)(Program&, Console&), Program& p, const std::string& script) {
  ScriptedConsole con(script);
  action(p, con);
  EXPECT_TRUE(con.script_done());
  return con.transcript();
}

// 1048576 samples/s over 4096 points: the phase-average limit is 256 Hz per point.
TEST(GenerationSettings, FirstToggleAsksFmaxUntilItSuitsThePhaseAverage) {
  auto p = started_program();
  EXPECT_EQ(run(toggle_fmax_compress, *p, "0\nabc\n25599\n25600\n"),
            "Enter fmax for compression file generation:\n"
            "Error - enter again:\n"
            "Error - enter again:\n"
            "Value too small for number of phase average points - enter again:\n");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 1);
  EXPECT_EQ(p->rrc.fmax_rrc_compress, 25600.0L);
  EXPECT_EQ(p->rrc.check_n_del_om, 25600.0L);
  EXPECT_EQ(run(toggle_fmax_compress, *p, ""), "");  // no second question
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 0);
  EXPECT_EQ(run(toggle_fmax_compress, *p, ""), "");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 1);
}

TEST(GenerationSettings, FmaxKeyAsksEvenWhileDisabled) {
  auto p = started_program();
  EXPECT_EQ(run(set_fmax_compress, *p, "-1\nnan\n100\n3e5\n"),
            "Enter fmax for compression filter generation:\n"
            "Error - enter again:\n"
            "Error - enter again:\n"
            "fmax too small for number of phase average points - enter again:\n");
  EXPECT_EQ(p->rrc.fmax_rrc_compress, 3e5L);
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 0);
  // With fmax set, the first toggle does not ask.
  EXPECT_EQ(run(toggle_fmax_compress, *p, ""), "");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 1);
}

TEST(GenerationSettings, PhaseAveragePointsMustFitBelowFmax) {
  auto p = started_program();
  p->rrc.fmax_rrc_compress = 25600;
  EXPECT_EQ(run(set_phase_average_points, *p, "0\n101\n100\n"),
            "Enter number of points for phase averaging:\n"
            "Error - enter again:\n"
            "Number of points too big for fmax - enter again:\n");
  EXPECT_EQ(p->rrc.n_del_om_fmax_compress, 100);
  EXPECT_EQ(p->rrc.check_n_del_om, 25600.0L);
  // Fewer points lower the limit that N and E then apply.
  run(set_phase_average_points, *p, "10\n");
  EXPECT_EQ(run(set_fmax_compress, *p, "2561\n"),
            "Enter fmax for compression filter generation:\n");
  EXPECT_EQ(p->rrc.fmax_rrc_compress, 2561.0L);
}

TEST(GenerationSettings, CompensationFactorAndTheTwoToggles) {
  auto p = started_program();
  EXPECT_EQ(run(set_phase_compensation, *p, "-2.5\n"), "Enter phase compensation factor:\n");
  EXPECT_EQ(p->rrc.phase_comp_fmax_compress, -2.5L);
  EXPECT_EQ(p->rrc.i_constant_phase_slope, 1);
  run(toggle_phase_method, *p, "");
  EXPECT_EQ(p->rrc.i_constant_phase_slope, 0);
  run(toggle_phase_method, *p, "");
  EXPECT_EQ(p->rrc.i_constant_phase_slope, 1);
  EXPECT_EQ(p->rrc.minp_option, 0);
  run(toggle_minimum_phase, *p, "");
  EXPECT_EQ(p->rrc.minp_option, 1);
  run(toggle_minimum_phase, *p, "");
  EXPECT_EQ(p->rrc.minp_option, 0);
}

TEST(LowpassSettings, EnablingAsksOrderAndCutoffOnlyWhileUnset) {
  auto p = started_program();
  p->rrc.rrc_error = 1;
  EXPECT_EQ(run(toggle_lpf, *p, "0\nx\n3\n-5\n0\n1000\n"),
            "Enter order of lpf (positive integer):\n"
            "Error - enter again:\n"
            "Error - enter again:\n"
            "Enter cutoff frequency f0:\n"
            "Error - enter again:\n"
            "Error - enter again:\n");
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->rrc.use_lpf_rrc, 1);
  EXPECT_EQ(p->rrc.n_lpf, 3);
  EXPECT_EQ(p->rrc.f0_lpf, 1000.0L);
  EXPECT_EQ(run(toggle_lpf, *p, ""), "");
  EXPECT_EQ(p->rrc.use_lpf_rrc, 0);
  EXPECT_EQ(run(toggle_lpf, *p, ""), "");
  EXPECT_EQ(p->rrc.use_lpf_rrc, 1);
}

TEST(LowpassSettings, ButterworthOrderIsLimitedToTen) {
  auto p = started_program();
  p->rrc.rrc_lpf_type = 1;
  EXPECT_EQ(run(set_lpf_parameters, *p, "12\nk500\n"),
            "Enter order of lpf (positive integer):\n"
            "Error - Butterworth filters only available for orders up to 10\n"
            "Press any A/N key to continue:\n"
            "Enter cutoff frequency f0:\n");
  EXPECT_EQ(p->rrc.n_lpf, 10);
  EXPECT_EQ(p->rrc.f0_lpf, 500.0L);

  p->rrc.rrc_lpf_type = 0;  // a digital filter has no limit
  EXPECT_EQ(run(set_lpf_parameters, *p, "12\n500\n"),
            "Enter order of lpf (positive integer):\nEnter cutoff frequency f0:\n");
  EXPECT_EQ(p->rrc.n_lpf, 12);
  // ...and then Butterworth is refused.
  EXPECT_EQ(run(toggle_lpf_type, *p, "k"),
            "Error - Butterworth filters only available for orders up to 10\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(p->rrc.rrc_lpf_type, 0);
}

TEST(LowpassSettings, TypeCyclesDigitalButterworthMinimumPhase) {
  auto p = started_program();
  p->rrc.n_lpf = 10;
  EXPECT_EQ(p->rrc.rrc_lpf_type, 2);
  const int expected[] = {0, 1, 2};
  for (int type : expected) {
    EXPECT_EQ(run(toggle_lpf_type, *p, ""), "");
    EXPECT_EQ(p->rrc.rrc_lpf_type, type);
  }
  // Butterworth is refused while de-compression holds fmax.
  p->rrc.rrc_lpf_type = 0;
  p->rrc.enable_fmax_rrc_decompress = 1;
  EXPECT_EQ(run(toggle_lpf_type, *p, "k"),
            "Error - fmax in de-compression not implemented for Butterworth filters\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(p->rrc.rrc_lpf_type, 0);
}

TEST(LowpassSettings, InverseLimitingAsksFmaxOnceAndKAlways) {
  auto p = started_program();
  EXPECT_EQ(run(toggle_lpf_inverse_limiting, *p, "0\n1000\n"),
            "Enter fmax for inverse lpf limiting:\nError - enter again:\n");
  EXPECT_EQ(p->rrc.rrc_lim_lpf_inv, 1);
  EXPECT_EQ(p->rrc.fmax_rrc_lim_lpf_inv, 1000.0L);
  EXPECT_EQ(run(toggle_lpf_inverse_limiting, *p, ""), "");
  EXPECT_EQ(p->rrc.rrc_lim_lpf_inv, 0);
  EXPECT_EQ(run(toggle_lpf_inverse_limiting, *p, ""), "");
  EXPECT_EQ(p->rrc.rrc_lim_lpf_inv, 1);
  p->rrc.rrc_lim_lpf_inv = 0;
  EXPECT_EQ(run(set_lpf_inverse_limit, *p, "-3\n2000\n"),
            "Enter fmax for inverse lpf limiting:\nError - enter again:\n");
  EXPECT_EQ(p->rrc.fmax_rrc_lim_lpf_inv, 2000.0L);
  EXPECT_EQ(p->rrc.rrc_lim_lpf_inv, 0);
}

TEST(DecompressionSettings, IntervalEndsAreCheckedAtEntry) {
  auto p = started_program(1048576.0L, 16);
  p->rrc.rrc_error = 1;
  EXPECT_EQ(run(set_interval, *p, "0\n17\n5\n5\n3\n17\n16\n"),
            "Enter first point of interval (starting at 1):\n"
            "Error - enter again:\n"
            "Error - enter again:\n"
            "Enter last point of interval (starting at 1):\n"
            "Error - enter again:\n"
            "Error - enter again:\n"
            "Error - enter again:\n");
  EXPECT_EQ(p->rrc.n1_rrc, 5);
  EXPECT_EQ(p->rrc.n2_rrc, 16);
  EXPECT_EQ(p->rrc.rrc_error, 0);
}

TEST(DecompressionSettings, IntervalTypeAndEndpointCorrectionToggle) {
  auto p = started_program();
  EXPECT_EQ(p->rrc.rrc_int_type, 0);
  run(toggle_interval_type, *p, "");
  EXPECT_EQ(p->rrc.rrc_int_type, 1);
  run(toggle_interval_type, *p, "");
  EXPECT_EQ(p->rrc.rrc_int_type, 0);
  EXPECT_EQ(p->rrc.rrc_epzc_enable, 1);
  run(toggle_endpoint_correction, *p, "");
  EXPECT_EQ(p->rrc.rrc_epzc_enable, 0);
  run(toggle_endpoint_correction, *p, "");
  EXPECT_EQ(p->rrc.rrc_epzc_enable, 1);
}

TEST(DecompressionSettings, FmaxToggleAsksOnceAndRefusesButterworth) {
  auto p = started_program();
  EXPECT_EQ(run(toggle_fmax_decompress, *p, "-7\n"), "Enter fmax for de-compression:\n");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 1);
  EXPECT_EQ(p->rrc.fmax_rrc_decompress, -7.0L);  // taken without a check
  EXPECT_EQ(run(toggle_fmax_decompress, *p, ""), "");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 0);
  EXPECT_EQ(run(toggle_fmax_decompress, *p, ""), "");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 1);
  EXPECT_EQ(run(set_fmax_decompress, *p, "3000\n"), "Enter fmax for de-compression:\n");
  EXPECT_EQ(p->rrc.fmax_rrc_decompress, 3000.0L);

  p->rrc.enable_fmax_rrc_decompress = 0;
  p->rrc.fmax_rrc_decompress = 0;
  p->rrc.use_lpf_rrc = 1;
  p->rrc.rrc_lpf_type = 1;
  EXPECT_EQ(run(toggle_fmax_decompress, *p, "k"),
            "Error -- fmax for de-compression is not implemented for Butterworth filters\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 0);
  // With the low-pass filter off, Butterworth as its type does not matter.
  p->rrc.use_lpf_rrc = 0;
  EXPECT_EQ(run(toggle_fmax_decompress, *p, "1e4\n"), "Enter fmax for de-compression:\n");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 1);
}

}  // namespace
}  // namespace refx
