// The settings that steer filter generation (keys E, N, M, O, U, H). None regenerates
// the filter; they take effect at the next generation.
#include "console/console_io.h"
#include "core/program.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_steps.h"

namespace refx {

namespace {

// The lowest fmax that leaves n phase steps below the transition bin.
long double phase_average_limit(const Program& p) {
  return (p.sampling_rate / static_cast<long double>(p.wf.nptst)) *
         static_cast<long double>(p.rrc.n_del_om_fmax_compress);
}

// Reads fmax until it is positive and not below the phase-averaging limit.
void read_fmax_compress(Program& p, Console& con, const char* prompt, const char* too_small) {
  Reflection& r = p.rrc;
  r.check_n_del_om = phase_average_limit(p);
  say(con, prompt);
  for (;;) {
    const Entry entry = get_long_double_within(con, &r.fmax_rrc_compress, kTypedValueLimit);
    if (entry == Entry::kRefused || !(r.fmax_rrc_compress > 0)) {
      say(con, "Error - enter again:\n");
    } else if (!(r.fmax_rrc_compress >= r.check_n_del_om)) {
      say(con, too_small);
    } else {
      return;
    }
  }
}

}  // namespace

void toggle_fmax_compress(Program& p, Console& con) {
  Reflection& r = p.rrc;
  if (r.enable_fmax_rrc_compress == 1)
    r.enable_fmax_rrc_compress = 0;
  else if (r.enable_fmax_rrc_compress == 0)
    r.enable_fmax_rrc_compress = 1;
  if (r.fmax_rrc_compress == 0)
    read_fmax_compress(p, con, "Enter fmax for compression file generation:\n",
                       "Value too small for number of phase average points - enter again:\n");
}

void set_fmax_compress(Program& p, Console& con) {
  read_fmax_compress(p, con, "Enter fmax for compression filter generation:\n",
                     "fmax too small for number of phase average points - enter again:\n");
}

void toggle_phase_method(Program& p, Console&) {
  Reflection& r = p.rrc;
  r.i_constant_phase_slope = r.i_constant_phase_slope + 1;
  if (r.i_constant_phase_slope > 1) r.i_constant_phase_slope = 0;
}

void set_phase_average_points(Program& p, Console& con) {
  Reflection& r = p.rrc;
  say(con, "Enter number of points for phase averaging:\n");
  for (;;) {
    get_long_int(con, &r.n_del_om_fmax_compress);
    r.check_n_del_om = phase_average_limit(p);
    if (r.n_del_om_fmax_compress < 1) {
      say(con, "Error - enter again:\n");
    } else if (r.check_n_del_om > r.fmax_rrc_compress) {
      say(con, "Number of points too big for fmax - enter again:\n");
    } else {
      return;
    }
  }
}

void set_phase_compensation(Program& p, Console& con) {
  say(con, "Enter phase compensation factor:\n");
  report_kept(p, con,
              get_long_double_within(con, &p.rrc.phase_comp_fmax_compress, kMaxPhaseCompensation),
              kMaxPhaseCompensation);
}

void toggle_minimum_phase(Program& p, Console&) {
  Reflection& r = p.rrc;
  r.minp_option = r.minp_option + 1;
  if (r.minp_option > 1) r.minp_option = 0;
}

}  // namespace refx
