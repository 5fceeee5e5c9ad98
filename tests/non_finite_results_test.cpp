// Operations whose result holds a value that is not finite say so, leave their destination
// byte for byte as it was and print no success line.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "reflection/filter_files.h"
#include "reflection/rrc_menu.h"
#include "spectral/fft_menu.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"
#include "waveforms/time_menu.h"

namespace refx {
namespace {

const auto npos = std::string::npos;
const long double kNan = std::numeric_limits<long double>::quiet_NaN();
const long double kMax = std::numeric_limits<long double>::max();
constexpr long kPoints = 1024;

bool same_bytes(const Samples& a, const Samples& b) {
  return std::memcmp(a.data(), b.data(), sizeof(long double) * a.size()) == 0;
}

// Copies of whole slots live on the heap: a few megabytes of them on the stack overflow it
// in the sanitizer build, whose frames do not share space between scopes.
using Kept = std::unique_ptr<const Samples>;
Kept keep(const Samples& s) { return std::make_unique<const Samples>(s); }
bool same_bytes(const Samples& a, const Kept& b) { return same_bytes(a, *b); }

// Waveform 1 a ramp, waveform 2 a pulse with echoes, a flat filter, an interval; distinct
// status marks on waveform 1 so a refused operation can be seen to keep them.
std::unique_ptr<Program> busy_program() {
  auto p = started_program(1048576.0L, kPoints);
  for (long i = 0; i < kPoints; ++i) {
    p->wf.y1a[i] = 0.001L * i - 0.3L;
    p->wf.y2a[i] = (i == 3 ? 1.0L : 0.0L) + (i == 40 ? 0.5L : 0.0L);
  }
  p->wf.i_shift_wf1 = 7, p->wf.i_truncatet1 = 900, p->wf.scale_wf1 = 3.0L;
  Reflection& r = p->rrc;
  r.rrc_filt = 1, r.n1_rrc = 2, r.n2_rrc = 30;
  for (long k = 0; k < kPoints; ++k) r.Re_rrc_filt[k] = 1.0L, r.Im_rrc_filt[k] = 0.0L;
  return p;
}

// Waveform 1 kept byte for byte with its marks, the refusal said, and no success line.
void expect_waveform_1_kept(const Program& p, const Kept& y1, const std::string& said,
                            const char* success, const char* what) {
  EXPECT_TRUE(same_bytes(p.wf.y1a, y1)) << what;
  EXPECT_TRUE(p.wf.i_shift_wf1 == 7 && p.wf.i_truncatet1 == 900 && p.wf.scale_wf1 == 3.0L) << what;
  EXPECT_NE(said.find("Error - result holds values that are not finite numbers; waveform 1 was "
                      "not changed\nPress any A/N key to continue\n"),
            npos)
      << what;
  EXPECT_EQ(said.find(success), npos) << what;
  EXPECT_EQ(p.rrc.rrc_error, 1) << what;
}

TEST(NonFiniteResults, CompressionWithANanFilterBinKeepsTheDestination) {
  auto p = busy_program();
  p->rrc.Re_rrc_filt[17] = kNan;
  const Kept y1 = keep(p->wf.y1a);
  ScriptedConsole con("c2\n1\nkq");
  rrc_menu(*p, con);
  expect_waveform_1_kept(*p, y1, con.transcript(), "was compressed", "NaN bin");
}

// A filter file with one bin too large for the product with the spectrum: the file is read
// (the bin is finite), the compression is refused.
TEST(NonFiniteResults, CompressionOverflowingThroughAFilterFileKeepsTheDestination) {
  TempDir dir;
  auto p = busy_program();
  p->rrc.Re_rrc_filt[17] = 1e4931L;
  ScriptedConsole save("huge.flt\nhuge\n");
  save_rrc_filter(*p, save, p->rrc.rrc_filt_save_filename, p->rrc.Re_rrc_filt, p->rrc.Im_rrc_filt,
                  1024, kPoints);
  p->rrc.Re_rrc_filt[17] = 1.0L;
  p->wf.y2a[5] = 1e30L;
  const Kept y1 = keep(p->wf.y1a);
  ScriptedConsole con("rhuge.flt\nkc2\n1\nkq");
  rrc_menu(*p, con);
  EXPECT_NE(con.transcript().find("File was successfully read\n"), npos);
  expect_waveform_1_kept(*p, y1, con.transcript(), "was compressed", "file");
}

TEST(NonFiniteResults, DecompressionOverflowKeepsTheDestination) {
  auto p = busy_program();
  p->rrc.Re_rrc_filt[9] = 1e-2000L;
  p->wf.y2a[5] = 1e3000L;
  const Kept y1 = keep(p->wf.y1a);
  ScriptedConsole con("d2\n1\nkq");
  rrc_menu(*p, con);
  expect_waveform_1_kept(*p, y1, con.transcript(), "was de-compressed", "de-compression");
}

// The inverse of a steep digital low-pass response divides a large spectrum by ~1e-980.
TEST(NonFiniteResults, InverseLowPassOverflowKeepsTheDestination) {
  auto p = busy_program();
  Reflection& r = p->rrc;
  r.use_lpf_rrc = 1, r.rrc_lpf_type = 0, r.n_lpf = 10, r.f0_lpf = 1e-95L;
  p->wf.y2a[5] = 1e4000L;
  const Kept y1 = keep(p->wf.y1a);
  ScriptedConsole con("b2\n1\nkq");
  rrc_menu(*p, con);
  expect_waveform_1_kept(*p, y1, con.transcript(), "Inverse lpf was applied", "inverse lpf");
}

// With and without the minimum-phase conversion (whose floor on small magnitudes must not
// swallow a NaN).
TEST(NonFiniteResults, GenerationFromANanReferenceKeepsTheFilter) {
  for (int minp : {0, 1}) {
    auto p = busy_program();
    p->wf.y2a[100] = kNan;
    p->rrc.Re_rrc_filt[3] = 0.75L, p->rrc.minp_option = minp;
    const Kept re = keep(p->rrc.Re_rrc_filt), im = keep(p->rrc.Im_rrc_filt);
    ScriptedConsole con("g2\n" + std::string(minp ? "k" : "") + "kq");  // a warning pauses too
    rrc_menu(*p, con);
    EXPECT_NE(con.transcript().find("Error - compression filter has values that are not finite "
                                    "numbers\nError -- compression filter was not generated\n"),
              npos)
        << minp;
    EXPECT_EQ(con.transcript().find("has been generated"), npos) << minp;
    EXPECT_TRUE(same_bytes(p->rrc.Re_rrc_filt, re) && same_bytes(p->rrc.Im_rrc_filt, im) &&
                p->rrc.rrc_filt == 1)
        << minp;
  }
}

// Every FFT menu operation that writes a slot or a waveform, each with a result that
// overflows.
TEST(NonFiniteResults, FftMenuOperationsKeepTheirDestination) {
  {  // forward transform of samples whose sum overflows
    auto p = busy_program();
    for (long i = 0; i < kPoints; ++i) p->wf.y1a[i] = kMax / 2;
    p->fft.fftr1.fill(2);
    const Kept re = keep(p->fft.fftr1), mag = keep(p->fft.fft1mag);
    ScriptedConsole con("1kq");
    fft_menu(*p, con);
    EXPECT_NE(con.transcript().find("not finite numbers; FFT 1 was not changed\n"), npos);
    EXPECT_TRUE(same_bytes(p->fft.fftr1, re) && same_bytes(p->fft.fft1mag, mag));
  }
  // product of two large spectra: its real part overflows, or only its imaginary part
  for (bool imaginary_only : {false, true}) {
    auto p = busy_program();
    p->fft.fftr1.fill(1e3000L);
    (imaginary_only ? p->fft.ffti2 : p->fft.fftr2).fill(1e3000L);
    const Kept re = keep(p->fft.fftr1), im = keep(p->fft.ffti1);
    ScriptedConsole con("mkq");
    fft_menu(*p, con);
    EXPECT_NE(con.transcript().find("not finite numbers; FFT 1 was not changed\n"), npos)
        << imaginary_only;
    EXPECT_EQ(con.transcript().find("FFTs have been multiplied"), npos) << imaginary_only;
    EXPECT_TRUE(same_bytes(p->fft.fftr1, re) && same_bytes(p->fft.ffti1, im)) << imaginary_only;
  }
  {  // amplitude ratio of 10^6 dB
    auto p = busy_program();
    p->fft.fft1mag.fill(1e6L);
    const Kept re = keep(p->fft.fftr1), mag = keep(p->fft.fft1mag);
    ScriptedConsole con("dkq");
    fft_menu(*p, con);
    EXPECT_NE(con.transcript().find("not finite numbers; FFT 1 was not changed\n"), npos);
    EXPECT_TRUE(same_bytes(p->fft.fftr1, re) && same_bytes(p->fft.fft1mag, mag));
  }
  {  // inverse transform whose sum overflows
    auto p = busy_program();
    p->fft.fftr2.fill(kMax / 2);
    const Kept y1 = keep(p->wf.y1a);
    ScriptedConsole con("n2\n1\nkq");
    fft_menu(*p, con);
    EXPECT_NE(con.transcript().find("not finite numbers; time waveform 1 was not changed\n"), npos);
    EXPECT_TRUE(same_bytes(p->wf.y1a, y1));
  }
}

TEST(NonFiniteResults, WindowWithANonFiniteEntryKeepsTheWaveform) {
  auto p = busy_program();
  p->wf.window_type = 2, p->wf.i_window_1 = 10, p->wf.i_window_2 = 20;
  p->wf.window.fill(0.5L);
  p->wf.window[4] = std::numeric_limits<long double>::infinity();
  const Kept y1 = keep(p->wf.y1a);
  ScriptedConsole con("y1\nkq");
  time_waveforms_menu(*p, con);
  EXPECT_NE(con.transcript().find("not finite numbers; waveform 1 was not changed\n"), npos);
  EXPECT_EQ(con.transcript().find("Window has been applied"), npos);
  EXPECT_TRUE(same_bytes(p->wf.y1a, y1));
}

TEST(NonFiniteResults, AddingOrSubtractingPastTheLargestValueKeepsWaveform1) {
  for (const char* key : {"u", "t"}) {
    auto p = busy_program();
    p->wf.y1a[50] = kMax;
    p->wf.y2a[50] = key[0] == 'u' ? kMax : -kMax;
    const Kept y1 = keep(p->wf.y1a);
    ScriptedConsole con(std::string(key) + "kq");
    time_waveforms_menu(*p, con);
    EXPECT_TRUE(same_bytes(p->wf.y1a, y1)) << key;
    EXPECT_NE(con.transcript().find("Error - result holds values that are not finite numbers; "
                                    "waveform 1 was not changed\nPress any A/N key"),
              npos)
        << key;
    EXPECT_EQ(con.transcript().find("Waveforms have been"), npos) << key;
  }
}

}  // namespace
}  // namespace refx
