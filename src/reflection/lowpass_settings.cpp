// The settings of the optional low-pass filter (keys L, P, Y, J, K).
#include "console/console_io.h"
#include "core/program.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_steps.h"

namespace refx {

namespace {

constexpr int kButterworthType = 1;

void report_butterworth_order_limit(Program& p, Console& con) {
  con_printf(con, "%s%d%s", "Error - Butterworth filters only available for orders up to ",
             p.rrc.max_butterworth_order_print, "\n");
  pause_colon(p, con);
}

// The digital responses multiply the frequency ratio once per order in every bin: the order
// is bounded so that one response never takes more than this many products.
constexpr long kDigitalOrderProducts = 1L << 26;

long digital_order_limit(const Program& p) {
  return kDigitalOrderProducts / p.wf.nptst;
}

void ask_order(Program& p, Console& con) {
  Reflection& r = p.rrc;
  for (;;) {
    say(con, "Enter order of lpf (positive integer):\n");
    get_long_int(con, &r.n_lpf_read);
    while (r.n_lpf_read < 1) {
      say(con, "Error - enter again:\n");
      get_long_int(con, &r.n_lpf_read);
    }
    if (r.rrc_lpf_type == kButterworthType || r.n_lpf_read <= digital_order_limit(p)) break;
    con_printf(con, "%s%ld%s", "Error - digital filters only available for orders up to ",
               digital_order_limit(p), "\n");
    pause_colon(p, con);
  }
  if (r.rrc_lpf_type == kButterworthType && r.n_lpf_read > r.max_butterworth_order_print) {
    report_butterworth_order_limit(p, con);
    r.n_lpf = r.max_butterworth_order_print;
  } else {
    r.n_lpf = r.n_lpf_read;
  }
}

// Reads a long double until it is greater than 0; a value that is not a finite number, or
// is too large, is asked for again.
void ask_positive(Console& con, const char* prompt, long double* value) {
  say(con, prompt);
  while (get_long_double_within(con, value, kTypedValueLimit) == Entry::kRefused || !(*value > 0))
    say(con, "Error - enter again:\n");
}

void ask_order_and_f0(Program& p, Console& con) {
  ask_order(p, con);
  ask_positive(con, "Enter cutoff frequency f0:\n", &p.rrc.f0_lpf);
}

void ask_limit_fmax(Program& p, Console& con) {
  ask_positive(con, "Enter fmax for inverse lpf limiting:\n", &p.rrc.fmax_rrc_lim_lpf_inv);
}

}  // namespace

void toggle_lpf(Program& p, Console& con) {
  Reflection& r = p.rrc;
  r.rrc_error = 0;
  if (r.use_lpf_rrc > 0) {
    r.use_lpf_rrc = 0;
    return;
  }
  if (r.n_lpf <= 0 || !(r.f0_lpf > 0)) ask_order_and_f0(p, con);
  r.use_lpf_rrc = 1;
}

void set_lpf_parameters(Program& p, Console& con) {
  p.rrc.rrc_error = 0;
  ask_order_and_f0(p, con);
}

void toggle_lpf_type(Program& p, Console& con) {
  Reflection& r = p.rrc;
  r.rrc_error = 0;
  if (r.rrc_lpf_type == 1 || r.rrc_lpf_type == 2) {
    r.rrc_lpf_type = (r.rrc_lpf_type + 1) % 3;
  } else if (r.enable_fmax_rrc_decompress > 0) {
    say(con, "Error - fmax in de-compression not implemented for Butterworth filters\n");
    pause_colon(p, con);
  } else if (r.n_lpf > r.max_butterworth_order_print) {
    report_butterworth_order_limit(p, con);
  } else {
    r.rrc_lpf_type = kButterworthType;
  }
}

void toggle_lpf_inverse_limiting(Program& p, Console& con) {
  Reflection& r = p.rrc;
  r.rrc_error = 0;
  if (r.rrc_lim_lpf_inv != 0) {
    r.rrc_lim_lpf_inv = 0;
    return;
  }
  r.rrc_lim_lpf_inv = 1;
  if (!(r.fmax_rrc_lim_lpf_inv > 0)) ask_limit_fmax(p, con);
}

void set_lpf_inverse_limit(Program& p, Console& con) {
  p.rrc.rrc_error = 0;
  ask_limit_fmax(p, con);
}

}  // namespace refx
