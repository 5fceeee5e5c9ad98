// refx_lin: the curses console and the X11 plot window around refx_core.
#include <cstdlib>

#include "plot/plot_lin/xlib_plot_window.h"
#include "shell/curses/curses_console.h"
#include "shell/fatal.h"
#include "shell/main_menu.h"
#include "shell/program.h"
#include "shell/startup.h"

int main() {
  auto program = refx::make_program();
  program->build = &refx::kLinuxBuild;
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
