#include "spectral/fft_menu.h"

#include <cctype>
#include <cmath>

#include "console/console_io.h"
#include "core/program.h"
#include "core/xmath.h"
#include "plot/axis.h"
#include "plot/viewer.h"
#include "spectral/fft.h"
#include "spectral/fft_files.h"
#include "spectral/mag_phase.h"

namespace refx {
namespace {

void print_menu(Program& p, Console& con) {
  const FftSlots& s = p.fft;
  con.clear();
  con.print("1 to take FFT of time waveform 1\n");
  con.print("2 to take FFT of time waveform 2\n");
  con.print("B to take FFT of both time waveforms\n");
  con.print("D to form amplitude ratio and phase difference in FFT1\n");
  con.print("U to add FFTs and put result in FFT1\n");
  con.print("C to subtract FFTs and put result in FFT1\n");
  con.print("M to multiply (convolve) FFTs and put result in FFT1\n");
  con.print("A to plot FFT amplitude\n");
  con.print("H to plot FFT phase\n");
  con.print("S to save FFT to a file\n");
  con.print("R to read FFT from a file\n");
  con.print("P to set FFT amplitude plot vertical scale\n");
  con_printf(con, "%s%e%s", "G to set tau for phase plot (", static_cast<double>(s.Tg), ")\n");
  con.print("V to set up FFT magnitude averaging");
  if (s.fft_mag_avg_mode == 1)
    con_printf(con, "%s%ld%s", " (", s.fft_mag_avg_npts, " points)\n");
  else if (s.fft_mag_avg_mode == 2)
    con_printf(con, "%s%Le%s", " (", s.fft_mag_avg_frac, " octave)\n");
  else
    con.print(" (disabled)\n");
  if (s.fft_mag_avg_mode > 0)
    con_printf(con, "%s%Le%s", "F to set cutoff frequency for FFT averaging (", s.freq_cutoff_avg,
               ")\n");
  con.print("N to calculate inverse FFT and place result in time waveform\n");
  con.print("Q to return to main menu\n");
  con.print("Enter Command :\n");
  con.refresh();
}

bool all_finite(const Samples& re, const Samples& im, long count) {
  for (long k = 0; k < count; ++k)
    if (!std::isfinite(re[k]) || !std::isfinite(im[k])) return false;
  return true;
}

void refuse_not_finite(Program& p, Console& con, int slot_number) {
  con_printf(con, "%s%d%s", "Error - result holds values that are not finite numbers; FFT ",
             slot_number, " was not changed\n");
  con.refresh();
  pause(p, con);
}

// Forward transform (not scaled) of a time waveform into the FFT slot of the same number;
// samples at or beyond the waveform's truncation index count as 0.
void forward_transform(Program& p, Console& con, int iwf) {
  con.clear();
  con.print("Taking FFT ...\n");
  con.refresh();
  TransformWork& w = p.work;
  const long n = p.fft.n;
  const long nptsa = p.plot.a.npts;
  FftPlan& plan = prepare_transform(w, n, p.pi);
  SlotRef wf = p.wf.slot(iwf);
  FftSlotRef slot = p.fft.slot(iwf);
  for (long i = 0; i < nptsa; ++i) {
    w.xinr[i] = i < wf.i_truncatet ? wf.y[i] : 0.0L;
    w.xini[i] = 0;
  }
  // Into the work arrays first: a spectrum that is not finite leaves the slot as it was.
  plan.run(2, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(), &w.max_fft_mag);
  if (!all_finite(w.fftr, w.ffti, n)) {
    refuse_not_finite(p, con, slot.number);
    return;
  }
  for (long k = 0; k < n; ++k) {
    slot.fftr[k] = w.fftr[k];
    slot.ffti[k] = w.ffti[k];
  }
  calc_fft_mag_ph(p, &nptsa, slot.fftr.data(), slot.ffti.data(), slot.fftmag.data(),
                  slot.fftph.data());
  slot.num_ptsa = n;  // a full spectrum again, whatever count a file read left
}

// D: dB difference and phase difference of slot 1 against slot 2, into slot 1.
void ratio_and_difference(Program& p, Console& con) {
  con.clear();
  con.print("Computing values ...\n");
  con.refresh();
  FftSlots& s = p.fft;
  TransformWork& w = p.work;
  const long double ln_10 = p.ln_10;
  const long npts = p.plot.a.npts;
  // Magnitude and phase in xinr/xini, the spectrum in fftr/ffti, committed when all finite.
  for (long k = 0; k < npts; ++k) {
    long double mag = s.fft1mag[k], ph = s.fft1ph[k];
    mag -= s.fft2mag[k];
    ph -= s.fft2ph[k];
    if (ph > 180.0L) ph -= 360.0L;
    if (ph < -180.0L) ph += 360.0L;
    const long double a = xexp(ln_10 * mag / 20.0L);
    long double sn = 0, cs = 0;
    xsincos(ph * p.pi / 180.0L, &sn, &cs);
    w.xinr[k] = mag;
    w.xini[k] = ph;
    w.fftr[k] = a * cs;
    w.ffti[k] = a * sn;
  }
  if (!all_finite(w.fftr, w.ffti, npts) || !all_finite(w.xinr, w.xini, npts)) {
    refuse_not_finite(p, con, 1);
    return;
  }
  for (long k = 0; k < npts; ++k) {
    s.fft1mag[k] = w.xinr[k];
    s.fft1ph[k] = w.xini[k];
    s.fftr1[k] = w.fftr[k];
    s.ffti1[k] = w.ffti[k];
  }
}

// U, C, M: slot 1 (op) slot 2 bin by bin into slot 1, magnitudes refreshed unaveraged.
void combine(Program& p, Console& con, char op) {
  FftSlots& s = p.fft;
  TransformWork& w = p.work;
  const long nptsa = p.plot.a.npts;
  for (long k = 0; k < nptsa; ++k) {
    const long double r1 = s.fftr1[k], i1 = s.ffti1[k], r2 = s.fftr2[k], i2 = s.ffti2[k];
    if (op == 'U') {
      w.fftr[k] = r1 + r2;
      w.ffti[k] = i1 + i2;
    } else if (op == 'C') {
      w.fftr[k] = r1 - r2;
      w.ffti[k] = i1 - i2;
    } else {
      w.fftr[k] = r1 * r2 - i1 * i2;
      w.ffti[k] = r1 * i2 + i1 * r2;
    }
  }
  if (!all_finite(w.fftr, w.ffti, nptsa)) {
    refuse_not_finite(p, con, 1);
    return;
  }
  for (long k = 0; k < nptsa; ++k) {
    s.fftr1[k] = w.fftr[k];
    s.ffti1[k] = w.ffti[k];
  }
  calc_fft_mag_ph_no_avg(p, &nptsa, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(),
                         s.fft1ph.data());
  s.num_ptsa1 = s.n;
  if (op == 'U')
    con.print("FFTs have been added\n");
  else if (op == 'C')
    con.print("FFTs have been subtracted\n");
  else
    con.print("FFTs have been multiplied\n");
  pause(p, con);
}

// N: inverse transform (not scaled) of a slot into a time waveform.
void inverse_transform(Program& p, Console& con) {
  TransformWork& w = p.work;
  const long nptst = p.wf.nptst;
  FftPlan& plan = prepare_transform(w, nptst, p.pi);
  int inv_src = 0, inv_dest = 0;
  con.print("Enter source FFT (1 or 2):\n");
  con.refresh();
  get_integer_in_range(con, &inv_src, 1, 2, "Error - enter again:\n");
  con.print("Enter destination time waveform (1 or 2):\n");
  con.refresh();
  get_integer_in_range(con, &inv_dest, 1, 2, "Error - enter again:\n");

  FftSlotRef src = p.fft.slot(inv_src);
  for (long i = 0; i < nptst; ++i) {
    w.xinr[i] = src.fftr[i];
    w.xini[i] = src.ffti[i];
  }
  long double max_mag = 0;
  plan.run(1, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(), &max_mag);

  if (!all_finite(w.fftr, w.ffti, nptst)) {
    con_printf(con, "%s%d%s",
               "Error - result holds values that are not finite numbers; time waveform ", inv_dest,
               " was not changed\n");
    con.refresh();
    pause(p, con);
    return;
  }
  Samples& dest = p.wf.slot(inv_dest).y;
  bool imag_err_inv = false;
  for (long i = 0; i < nptst; ++i) {
    dest[i] = w.fftr[i];
    if (!(std::fabs(w.ffti[i]) <= 1e-8L)) imag_err_inv = true;
  }
  if (imag_err_inv) {
    con_printf(con, "%s%d%s", "Warning - imaginary part in time waveform ", inv_dest, "\n");
    pause(p, con);
  }
}

// A, H: which slot to plot; out-of-range answers are clamped.
int select_plot_slot(Console& con) {
  int num = 1;
  con.print("Select FFT 1 or 2:\n");
  con.refresh();
  get_integer(con, &num);
  if (num < 1) num = 1;
  if (num > 2) num = 2;
  return num;
}

// A (plot_mode 2, magnitude) and H (plot_mode 3, phase): one slot in the viewer.
void plot_fft(Program& p, Console& con, int plot_mode) {
  const int plot_num = select_plot_slot(con);
  p.plot.plot_mode = plot_mode;
  p.plot.deltaf_float = static_cast<float>(p.fft.deltaf);
  FftSlotRef slot = p.fft.slot(plot_num);
  PlotParams& set = plot_mode == 2 ? p.plot.a : p.plot.p;
  view_plot(p, con, set, set.i_truncate, p.plot.deltaf_float,
            plot_mode == 2 ? slot.fftmag : slot.fftph, 1);
}

void set_amplitude_scale(Program& p, Console& con) {
  con.clear();
  con.print("Enter FFT amplitude maximum vertical scale value in dB :\n");
  con.refresh();
  report_kept(p, con, get_real_within(con, &p.plot.a.ymax, kPlotScaleLimit), kPlotScaleLimit);
  con.print("Enter FFT amplitude minimum vertical scale value in dB :\n");
  con.refresh();
  report_kept(p, con, get_real_within(con, &p.plot.a.ymin, kPlotScaleLimit), kPlotScaleLimit);
  p.plot.deltaf_float = static_cast<float>(p.fft.deltaf);
  setup_vert_axis(p.plot.a, p.ln_10);  // the next magnitude plot uses the new scale
}

}  // namespace

float tau_limit(const Program& p) {
  return static_cast<float>(kMaxPhaseTurns / (p.fft.deltaf * static_cast<long double>(p.fft.n)));
}

namespace {

void set_tau(Program& p, Console& con) {
  con.print("Enter tau in seconds:\n");
  con.refresh();
  const float limit = tau_limit(p);
  report_kept(p, con, get_real_within(con, &p.fft.Tg, limit), limit);
}

void set_averaging(Program& p, Console& con) {
  FftSlots& s = p.fft;
  con.print("Enter 0 for no averaging, 1 for number of points, 2 for fraction of octave:\n");
  con.refresh();
  get_integer(con, &s.fft_mag_avg_mode);
  if (s.fft_mag_avg_mode < 0) s.fft_mag_avg_mode = 0;
  if (s.fft_mag_avg_mode > 2) s.fft_mag_avg_mode = 2;
  if (s.fft_mag_avg_mode == 1) {
    con.print("Enter number of frequency points to average:\n");
    con.refresh();
    get_long_int(con, &s.fft_mag_avg_npts);
    if (s.fft_mag_avg_npts < 1) s.fft_mag_avg_npts = 1;
  } else if (s.fft_mag_avg_mode == 2) {
    for (;;) {
      con.print("Enter octave fractions to average:\n");
      con.refresh();
      const Entry entry = get_long_double_within(con, &s.fft_mag_avg_frac, kMaxOctaveFraction);
      if (entry != Entry::kRefused && s.fft_mag_avg_frac > 0) break;
      con.print("Error entering octave fraction; try again\n");
    }
    s.fft_mag_avg_mult = xexp(p.ln_2 * s.fft_mag_avg_frac);
  }
}

void set_cutoff(Program& p, Console& con) {
  FftSlots& s = p.fft;
  s.freq_cutoff_avg = 0;
  for (;;) {
    con.print("Enter cutoff frequency for FFT averaging in Hz:\n");
    con.refresh();
    const Entry entry = get_long_double_within(con, &s.freq_cutoff_avg, kTypedValueLimit);
    if (entry != Entry::kRefused && s.freq_cutoff_avg > 0) break;
    con.print("Error entering frequency; try again\n");
  }
  const long limit = p.wf.nptst / 2;
  const long double bins = std::trunc((s.freq_cutoff_avg + 0.1L) / s.deltaf + 1.0L);
  // Compared before converting, so a huge frequency cannot overflow the count.
  s.npts_cutoff_avg = bins > static_cast<long double>(limit) ? limit : static_cast<long>(bins);
}

void save_slot(Program& p, Console& con) {
  int ifft = 0;
  con.print("Enter 1 or 2 for FFT:");
  con.refresh();
  get_integer(con, &ifft);
  if (ifft != 1 && ifft != 2) return;
  FftSlotRef slot = p.fft.slot(ifft);
  save_fft(p, con, ifft, slot.fftr.data(), slot.ffti.data(), slot.fftmag.data(), slot.fftph.data(),
           &p.fft.deltaf, &slot.num_ptsa);
}

void read_slot(Program& p, Console& con) {
  int ifft = 0;
  con.print("Enter 1 or 2 for FFT:\n");
  con.refresh();
  get_integer(con, &ifft);
  if (ifft != 1) ifft = 2;
  FftSlotRef slot = p.fft.slot(ifft);
  long double delf = p.fft.deltaf;  // the file's step, only for the reader's warning
  read_fft(p, con, ifft, slot.fftr.data(), slot.ffti.data(), slot.fftmag.data(), slot.fftph.data(),
           &delf, &slot.num_ptsa);
}

}  // namespace

void fft_menu(Program& p, Console& con) {
  int quit_fft = 0;
  while (!quit_fft) {
    print_menu(p, con);
    const int key = con.read_key();
    // A closed console sends no more keys: leave as Q would, rather than redraw forever.
    if (key < 0) break;
    const char ascii_fft = static_cast<char>(key);
    switch (std::toupper(static_cast<unsigned char>(ascii_fft))) {
      case '1':
        forward_transform(p, con, 1);
        break;
      case '2':
        forward_transform(p, con, 2);
        break;
      case 'B':
        forward_transform(p, con, 1);
        forward_transform(p, con, 2);
        break;
      case 'D':
        ratio_and_difference(p, con);
        break;
      case 'U':
        combine(p, con, 'U');
        break;
      case 'C':
        combine(p, con, 'C');
        break;
      case 'M':
        combine(p, con, 'M');
        break;
      case 'A':
        plot_fft(p, con, 2);
        break;
      case 'H':
        plot_fft(p, con, 3);
        break;
      case 'S':
        save_slot(p, con);
        break;
      case 'R':
        read_slot(p, con);
        break;
      case 'P':
        set_amplitude_scale(p, con);
        break;
      case 'G':
        set_tau(p, con);
        break;
      case 'V':
        set_averaging(p, con);
        break;
      case 'F':
        set_cutoff(p, con);
        break;
      case 'N':
        inverse_transform(p, con);
        break;
      case 'Q':
        quit_fft = 1;
        break;
      default:
        break;
    }
  }
}

}  // namespace refx
