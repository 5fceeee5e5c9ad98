// refx_win: the Windows console and the GDI plot window around refx_core.
#include <cstdlib>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/startup.h"
#include "console/wincon/windows_console.h"
#include "core/fatal.h"
#include "core/program.h"
#include "plot/gdi/gdi_plot_window.h"

int main(int argc, char** argv) {
  // --help and --version answer before the console takes the terminal.
  if (auto status = refx::answer_command_line(argc, argv, refx::kWindowsBuild)) return *status;
  auto program = refx::make_program();
  program->build = &refx::kWindowsBuild;
  refx::WindowsConsole console;
  refx::GdiPlotWindow plot_window(*program, console);
  program->plot_window = &plot_window;
  // The console's waits keep the plot window repainting; the way out frees it.
  console.set_plot_hooks({[&plot_window] { return plot_window.pump(); },
                          [&plot_window] { plot_window.release_all(); }});
  try {
    refx::start_up(*program, console);
    refx::main_menu(*program, console);
  } catch (const refx::ProgramExit& stop) {
    // The Windows end of the program also closes the plot window and frees its objects.
    console.close_plot_window();
    std::exit(stop.status);
  }
}
