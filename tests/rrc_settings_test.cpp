// The setting operations of reflection removal: their checks, and their messages byte for byte.
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

const char kOrderLimit[] =
    "Error - Butterworth filters only available for orders up to 10\n"
    "Press any A/N key to continue:\n";

TEST(ReflectionSettings, FmaxForGenerationLeavesThePhaseAverageStepsBelowIt) {
  auto p = started_program();  // 256 Hz per point: 100 steps need 25600 Hz
  EXPECT_EQ(run(toggle_fmax_compress, *p, "0\n25599\n25600\n"),
            "Enter fmax for compression file generation:\nError - enter again:\n"
            "Value too small for number of phase average points - enter again:\n");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 1);
  EXPECT_EQ(run(toggle_fmax_compress, *p, ""), "");  // asks only while fmax is unset
  EXPECT_EQ(p->rrc.enable_fmax_rrc_compress, 0);
  EXPECT_EQ(run(set_fmax_compress, *p, "nan\n100\n3e4\n"),
            "Enter fmax for compression filter generation:\nError - enter again:\n"
            "fmax too small for number of phase average points - enter again:\n");
  EXPECT_EQ(p->rrc.fmax_rrc_compress, 3e4L);
  EXPECT_EQ(run(set_phase_average_points, *p, "0\n118\n117\n"),
            "Enter number of points for phase averaging:\nError - enter again:\n"
            "Number of points too big for fmax - enter again:\n");
  EXPECT_EQ(p->rrc.n_del_om_fmax_compress, 117);
}

TEST(ReflectionSettings, LowpassOrderAndTypeKeepButterworthWithinItsLimits) {
  auto p = started_program();
  EXPECT_EQ(run(toggle_lpf, *p, "0\n12\n-5\n1000\n"),
            "Enter order of lpf (positive integer):\nError - enter again:\n"
            "Enter cutoff frequency f0:\nError - enter again:\n");
  EXPECT_EQ(p->rrc.n_lpf, 12);  // minimum phase digital has no order limit
  EXPECT_EQ(p->rrc.f0_lpf, 1000.0L);
  EXPECT_EQ(run(toggle_lpf, *p, "") + run(toggle_lpf, *p, ""), "");  // off and on, no questions
  EXPECT_EQ(p->rrc.use_lpf_rrc, 1);
  run(toggle_lpf_type, *p, "");  // minimum phase digital -> digital
  EXPECT_EQ(run(toggle_lpf_type, *p, "k"), kOrderLimit);
  EXPECT_EQ(p->rrc.rrc_lpf_type, 0);
  p->rrc.n_lpf = 10, p->rrc.enable_fmax_rrc_decompress = 1;
  EXPECT_EQ(run(toggle_lpf_type, *p, "k"),
            "Error - fmax in de-compression not implemented for Butterworth filters\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(p->rrc.rrc_lpf_type, 0);
  p->rrc.enable_fmax_rrc_decompress = 0;
  run(toggle_lpf_type, *p, "");
  EXPECT_EQ(p->rrc.rrc_lpf_type, 1);
  EXPECT_EQ(run(set_lpf_parameters, *p, "12\nk500\n"), "Enter order of lpf (positive integer):\n" +
                                                           std::string(kOrderLimit) +
                                                           "Enter cutoff frequency f0:\n");
  EXPECT_EQ(p->rrc.n_lpf, 10);
  run(toggle_lpf_type, *p, "");
  EXPECT_EQ(p->rrc.rrc_lpf_type, 2);
}

TEST(ReflectionSettings, LimitingAndDecompressionFmaxAndTheInterval) {
  auto p = started_program(1048576.0L, 16);
  EXPECT_EQ(run(toggle_lpf_inverse_limiting, *p, "0\n1000\n"),
            "Enter fmax for inverse lpf limiting:\nError - enter again:\n");
  EXPECT_EQ(run(toggle_lpf_inverse_limiting, *p, ""), "");  // J asks once
  EXPECT_EQ(p->rrc.rrc_lim_lpf_inv, 0);
  run(set_lpf_inverse_limit, *p, "2000\n");  // K asks even while limiting is off
  EXPECT_EQ(p->rrc.fmax_rrc_lim_lpf_inv, 2000.0L);

  p->rrc.use_lpf_rrc = 1, p->rrc.rrc_lpf_type = 1;
  EXPECT_EQ(run(toggle_fmax_decompress, *p, "k"),
            "Error -- fmax for de-compression is not implemented for Butterworth filters\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 0);
  p->rrc.use_lpf_rrc = 0;  // a Butterworth type that is off does not matter
  EXPECT_EQ(run(toggle_fmax_decompress, *p, "-7\n"), "Enter fmax for de-compression:\n");
  EXPECT_EQ(p->rrc.fmax_rrc_decompress, -7.0L);  // taken without a check
  EXPECT_EQ(run(toggle_fmax_decompress, *p, ""), "");
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 0);

  p->rrc.rrc_error = 1;
  EXPECT_EQ(run(set_interval, *p, "0\n17\n5\n5\n3\n17\n16\n"),
            "Enter first point of interval (starting at 1):\n"
            "Error - enter again:\nError - enter again:\n"
            "Enter last point of interval (starting at 1):\n"
            "Error - enter again:\nError - enter again:\nError - enter again:\n");
  EXPECT_EQ(std::make_pair(p->rrc.n1_rrc, p->rrc.n2_rrc), std::make_pair(5L, 16L));
  EXPECT_EQ(p->rrc.rrc_error, 0);
}

}  // namespace
}  // namespace refx
