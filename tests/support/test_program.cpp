#include "support/test_program.h"

#include "app/startup.h"

namespace refx {

std::unique_ptr<Program> started_program(long double sampling_rate, long num_meas_points,
                                         const BuildConstants& build) {
  auto p = make_program();
  p->build = &build;
  set_constants(*p);
  p->sampling_rate = sampling_rate;
  p->delt = 1.0L / sampling_rate;
  p->num_meas_points = num_meas_points;
  p->delf_minp = 1.0L / (num_meas_points * p->delt);
  p->maxx = 1000;
  p->maxy = 800;
  derive_values(*p);
  return p;
}

}  // namespace refx
