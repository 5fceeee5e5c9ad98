// refx_win: the Windows console and the GDI plot window around refx_core; with --script, the
// script console and plots drawn in memory instead.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/script_mode.h"
#include "app/startup.h"
#include "console/wincon/windows_console.h"
#include "core/fatal.h"
#include "core/program.h"
#include "plot/gdi/gdi_plot_window.h"

int main(int argc, char** argv) {
  // --help, --version and a bad argument answer before the console takes the terminal.
  const refx::CommandLine line = refx::parse_command_line(argc, argv);
  if (auto status = refx::answer_command_line(line, refx::kWindowsBuild)) return *status;
  auto program = refx::make_program();
  program->build = &refx::kWindowsBuild;
  if (!line.script.empty()) {
    // The transcript and a script on standard input keep their bytes: lines end in LF
    // as in refx_lin, and a CR before the LF of a script line is dropped by the reader.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    return refx::run_script_mode(*program, line);
  }

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
