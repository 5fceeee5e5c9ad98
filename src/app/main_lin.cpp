// refx_lin: the curses console and the X11 plot window around refx_core; with --script, the
// script console and plots drawn in memory instead.
#include <cstdlib>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/script_mode.h"
#include "app/startup.h"
#include "console/curses/curses_console.h"
#include "core/fatal.h"
#include "core/program.h"
#include "plot/plot_lin/xlib_plot_window.h"

int main(int argc, char** argv) {
  // --help, --version and a bad argument answer before the console takes the terminal.
  const refx::CommandLine line = refx::parse_command_line(argc, argv);
  if (auto status = refx::answer_command_line(line, refx::kLinuxBuild)) return *status;
  auto program = refx::make_program();
  program->build = &refx::kLinuxBuild;
  if (!line.script.empty()) return refx::run_script_mode(*program, line);

  refx::CursesConsole console;
  try {
    refx::start_up(*program, console);
    refx::XlibPlotWindow plot_window(program->maxx, program->maxy);
    program->plot_window = &plot_window;
    refx::main_menu(*program, console);
  } catch (const refx::ProgramExit& stop) {
    std::exit(stop.status);
  }
}
