#include "waveforms/window_functions.h"

#include <cctype>
#include <climits>
#include <cmath>

#include "console/console_io.h"
#include "core/program.h"
#include "core/xmath.h"

namespace refx {

namespace {

const char* const kLabels[] = {"",
                               " Bartlett(linear) (",
                               " Hanning(cosine) (",
                               " Hamming(cosine-residual) (",
                               " Blackman(double cosine) (",
                               " Parzen(cubic) ("};

// The typed points are counted from 1; storage counts from 0. The most negative long
// cannot move down and stays out of range anyway.
void to_zero_based(long& point) {
  if (point > LONG_MIN) --point;
}

void refuse(Program& p, Console& con, const char* message) {
  con.print(message);
  pause(p, con);
  p.wf.window_type = 0;
}

void set_up_window(Program& p, Console& con, int shape, bool linear_prompts) {
  TimeWaveforms& wf = p.wf;
  con.print(linear_prompts ? "Enter first point, where window = 1 (integer index starting at 1):\n"
                           : "Enter first point, where window = 1 (integer index):\n");
  con.refresh();
  get_long_int(con, &wf.i_window_1);
  con.print(linear_prompts
                ? "Enter last point, where window reaches minimum (integer index starting at 1):\n"
                : "Enter last point, where window reaches minimum (integer index):\n");
  con.refresh();
  get_long_int(con, &wf.i_window_2);
  to_zero_based(wf.i_window_1);
  to_zero_based(wf.i_window_2);

  // In long double the difference of any two longs is exact, so huge typed values
  // cannot overflow the size test.
  const long double span =
      static_cast<long double>(wf.i_window_2) - static_cast<long double>(wf.i_window_1);
  if (span + 1 > kWindowEntries) {
    refuse(p, con, "Error - window size is bigger than array dimension\n");
  } else if (wf.i_window_1 < 0 || wf.i_window_2 < 0) {
    refuse(p, con, "Error - window indices out of range\n");
  } else if (span < 1) {
    // A window must fall over at least one step; otherwise the shapes divide by zero
    // and the application would read entries that were never filled.
    refuse(p, con, "Error - last point must be greater than first point\n");
  } else {
    wf.window_type = shape;
    fill_window(shape, wf.i_window_2 - wf.i_window_1, p.pi, wf.window.data());
  }
}

}  // namespace

const char* window_label(int window_type) {
  return window_type >= 1 && window_type <= 5 ? kLabels[window_type] : "";
}

void fill_window(int window_type, long D, long double pi, long double* window) {
  const long double d = static_cast<long double>(D);
  for (long k = 0; k <= D; ++k) {
    const long double kk = static_cast<long double>(k);
    long double w = 0;
    switch (window_type) {
      case 1:
        w = 1.0L - kk / d;
        break;
      case 2:
        w = 0.5L + 0.5L * xcos(kk * pi / d);
        break;
      case 3:
        w = 0.54L + 0.46L * xcos(kk * pi / d);
        break;
      case 4:
        w = 0.42L + 0.5L * xcos(kk * pi / d) + 0.08L * xcos(2.0L * kk * pi / d);
        break;
      case 5: {
        const long double a = kk / d;
        if (kk <= d / 2.0L)
          w = 1.0L - 6.0L * a * a + 6.0L * a * a * a;
        else
          w = 2.0L * (1.0L - a) * (1.0L - a) * (1.0L - a);
        break;
      }
      default:
        break;
    }
    window[k] = w;
  }
}

void apply_window(const TimeWaveforms& wf, Samples& y) {
  const long first = wf.i_window_1;
  const long last = wf.i_window_2;
  const long double minimum = wf.window[static_cast<std::size_t>(last - first)];
  for (long i = 0; i < wf.nptst; ++i) {
    const auto index = static_cast<std::size_t>(i);
    if (i >= first && i <= last)
      y[index] *= wf.window[static_cast<std::size_t>(i - first)];
    else if (i > last)
      y[index] *= minimum;
  }
}

void window_menu(Program& p, Console& con) {
  for (;;) {
    con.clear();
    if (p.wf.window_type > 0)
      con_printf(con, "%s%ld%s%ld%s", window_label(p.wf.window_type), p.wf.i_window_1 + 1, ",",
                 p.wf.i_window_2 + 1, ") set up\n");
    else
      con.print("No window currently set up\n");
    con.print("A to set up Bartlett(linear) window\n");
    con.print("N to set up Hanning(cosine) window\n");
    con.print("M to set up Hamming(cosine-residual) window\n");
    con.print("L to set up Blackman(double cosine) window\n");
    con.print("P to set up Parzen(cubic) window\n");
    if (p.wf.window_type > 0) con.print("R to release window\n");
    con.print("Q to return to time waveforms menu\n");
    con.print("Enter Command :\n");
    con.refresh();

    switch (std::toupper(con.read_key() & 0xFF)) {
      case 'Q':
        return;
      case 'R':
        p.wf.window_type = 0;
        break;
      case 'A':
        set_up_window(p, con, 1, true);
        break;
      case 'N':
        set_up_window(p, con, 2, false);
        break;
      case 'M':
        set_up_window(p, con, 3, false);
        break;
      case 'L':
        set_up_window(p, con, 4, false);
        break;
      case 'P':
        set_up_window(p, con, 5, false);
        break;
      default:
        break;
    }
  }
}

}  // namespace refx
