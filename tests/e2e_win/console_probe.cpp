// refx_console_probe.exe: drives the Windows console back-end through the shared prompt
// routines, one step per prompt, so the wine tests can check keys, value entry and name
// entry on a real console before any menu uses them.
#include <cstdlib>

#include "shell/console_io.h"
#include "shell/fatal.h"
#include "shell/program.h"
#include "shell/wincon/windows_console.h"

int main() {
  auto program = refx::make_program();
  program->build = &refx::kWindowsBuild;
  refx::WindowsConsole con;
  try {
    con.print("before clear\n");
    con.clear();
    con.print("keys:\n");
    con.refresh();
    int first = con.read_key();
    int second = con.read_key();
    refx::con_printf(con, "keys %d %d\n", first, second);
    con.print("menu key:\n");
    con.refresh();
    refx::con_printf(con, "menu key %d\n", con.read_main_menu_key());

    con.print("integer 1 to 9:\n");
    con.refresh();
    int v = 0;
    refx::get_integer_in_range(con, &v, 1, 9, "Error - enter integer again:\n");
    refx::con_printf(con, "integer %d\n", v);

    con.print("name:\n");
    con.refresh();
    std::string name, comment;
    refx::read_name_word(con, name);
    refx::read_comment(con, false, comment);
    refx::con_printf(con, "name [%s] comment [%s]\n", name.c_str(), comment.c_str());

    con.print("long double:\n");
    con.refresh();
    long double ld = 0;
    refx::get_long_double(con, &ld);
    refx::con_printf(con, "long double %.20Le\n", ld);
    con.print("real:\n");
    con.refresh();
    float f = 0;
    refx::get_real(con, &f);
    refx::con_printf(con, "real %.9e\n", static_cast<double>(f));

    refx::pause(*program, con);
    refx::con_printf(con, "continued with %d\n", program->ascii_code_continue);
    // One more key, so the last line stays on the screen until the test has seen it.
    con.print("key to end:\n");
    con.refresh();
    con.read_key();
    refx::terminate_program();
  } catch (const refx::ProgramExit& stop) {
    con.close_plot_window();
    std::exit(stop.status);
  }
}
