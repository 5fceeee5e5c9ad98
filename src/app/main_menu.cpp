#include "app/main_menu.h"

#include <cctype>

#include "core/fatal.h"
#include "core/program.h"
#include "spectral/fft_menu.h"
#include "waveforms/time_menu.h"

namespace refx {

void main_menu(Program& p, Console& con) {
  for (;;) {
    con.clear();
    con.print("T for time waveforms menu\n");
    con.print("F for FFT menu\n");
    con.print("B to toggle binary/ascii rw option");
    if (p.i_rw_bin_ascii == 1)
      con.print(" (binary-ri selected)\n");
    else if (p.i_rw_bin_ascii == 2)
      con.print(" (ascii-magph selected)\n");
    else
      con.print(" (Error - not properly assigned)\n");
    con.print("Q to quit program\n");
    con.refresh();

    int key = con.read_main_menu_key();
    // A closed console can send no more keys: end as Q would, rather than spin.
    if (key < 0) terminate_program();
    char ascii_main_menu = static_cast<char>(key);
    switch (std::toupper(static_cast<unsigned char>(ascii_main_menu))) {
      case 'B':
        if (++p.i_rw_bin_ascii > 2) p.i_rw_bin_ascii = 1;
        break;
      case 'T':
        time_waveforms_menu(p, con);
        break;
      case 'F':
        fft_menu(p, con);
        break;
      case 'Q':
        terminate_program();
      default:
        break;
    }
  }
}

}  // namespace refx
