#include "core/fatal.h"

#include "core/program.h"

namespace refx {

void terminate_program() {
  throw ProgramExit{0};
}

void end_program(Program& p, Console& con) {
  con.print("Program will be terminated\n");
  con.print("Press any A/N key to continue:\n");
  con.refresh();
  p.ascii_code_continue = static_cast<char>(con.wait_for_key());
  terminate_program();
}

void report_file_format_error(Program& p, Console& con) {
  con.print("Error in input file format\n");
  if (!p.build->windows) end_program(p, con);
  con.print(p.build->format_error_terminated);
  con.print("Press any A/N key to continue:\n");
  con.refresh();
  p.ascii_code_continue = static_cast<char>(con.wait_for_key());
  terminate_program();
}

}  // namespace refx
