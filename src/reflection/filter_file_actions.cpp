#include "reflection/filter_file_actions.h"

#include "console/console_io.h"
#include "core/program.h"
#include "reflection/filter_files.h"

namespace refx {

void read_filter_action(Program& p, Console& con) {
  p.rrc.rrc_error = 0;
  long double delf = 0;  // reported by the reader, not used further
  long num = 0;
  read_rrc_filt(p, con, p.rrc.rrc_filt_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, &delf, &num);
  if (p.rrc.rrc_error < 1) {
    con.print("File was successfully read\n");
    p.rrc.rrc_filt = 3;
  } else {
    con.print("Error reading compression filter file, operation not completed\n");
  }
  con.refresh();
  pause(p, con);
}

void save_filter_action(Program& p, Console& con) {
  p.rrc.rrc_error = 0;
  const long n = p.wf.nptst;
  const long double delf = 1.0L / (n * p.delt);
  save_rrc_filter(p, con, p.rrc.rrc_filt_save_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf,
                  n);
  if (p.rrc.rrc_error < 1)
    con.print("Filter was successfully saved\n");
  else
    con.print("Error saving compression filter to a file, operation not completed\n");
  con.refresh();
  pause(p, con);
}

}  // namespace refx
