// The settings of de-compression (keys I, T, Z, F, X).
#include "console/console_io.h"
#include "core/program.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_steps.h"

namespace refx {

void set_interval(Program& p, Console& con) {
  Reflection& r = p.rrc;
  const long n = p.wf.nptst;
  r.rrc_error = 0;
  say(con, "Enter first point of interval (starting at 1):\n");
  get_long_int(con, &r.n1_rrc);
  // The last point must lie after the first, so the first cannot be the last point of all.
  while (r.n1_rrc < 1 || r.n1_rrc > n - 1) {
    say(con, "Error - enter again:\n");
    get_long_int(con, &r.n1_rrc);
  }
  say(con, "Enter last point of interval (starting at 1):\n");
  get_long_int(con, &r.n2_rrc);
  while (r.n2_rrc < 1 || r.n2_rrc > n || r.n2_rrc <= r.n1_rrc) {
    say(con, "Error - enter again:\n");
    get_long_int(con, &r.n2_rrc);
  }
}

void toggle_interval_type(Program& p, Console&) {
  p.rrc.rrc_int_type = p.rrc.rrc_int_type == 0 ? 1 : 0;
}

void toggle_endpoint_correction(Program& p, Console&) {
  p.rrc.rrc_epzc_enable = p.rrc.rrc_epzc_enable == 0 ? 1 : 0;
}

void toggle_fmax_decompress(Program& p, Console& con) {
  Reflection& r = p.rrc;
  if (r.enable_fmax_rrc_decompress == 1)
    r.enable_fmax_rrc_decompress = 0;
  else if (r.enable_fmax_rrc_decompress == 0)
    r.enable_fmax_rrc_decompress = 1;
  if (r.enable_fmax_rrc_decompress == 1 && r.use_lpf_rrc > 0 && r.rrc_lpf_type == 1) {
    r.enable_fmax_rrc_decompress = 0;
    say(con, "Error -- fmax for de-compression is not implemented for Butterworth filters\n");
    pause_colon(p, con);
  }
  if (r.enable_fmax_rrc_decompress == 1 && r.fmax_rrc_decompress == 0) set_fmax_decompress(p, con);
}

void set_fmax_decompress(Program& p, Console& con) {
  say(con, "Enter fmax for de-compression:\n");
  report_kept(p, con, get_long_double_within(con, &p.rrc.fmax_rrc_decompress, kTypedValueLimit),
              kTypedValueLimit);
}

}  // namespace refx
