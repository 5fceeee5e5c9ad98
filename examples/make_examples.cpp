// Writes the example waveforms of examples/ for the configuration in refx_lin.in
// (1048576 samples/s, 4096 points):
//   reference_pulse.txt  the reference pulse, starting at sample 0
//   measured.txt         the pulse at sample 200 (the direct arrival), plus reflections of
//                        +0.5 at sample 900 and -0.3 at sample 2400
//   direct_arrival.txt   what removing the reflections gives: the direct arrival minus its
//                        mean over the 4096 points (de-compression leaves bin 0 at zero)
// and prints the largest and smallest magnitude of the pulse's spectrum.
//
// Build and run from the top of the repository:
//   g++ -std=c++17 -O2 -Wall -Wextra -o build/make_examples examples/make_examples.cpp
//   (cd examples && ../build/make_examples)
// (examples/CMakeLists.txt holds the same as a target, make_examples, once examples/ is
// added to the build.)
//
// Every value is an integer count of 1e-4 (pulse) or 1e-5 (measured) so that the printed
// decimals are exact, and the measured waveform is the exact sum of the scaled, delayed pulse.
#include <cmath>
#include <cstdio>

namespace {

constexpr long kPoints = 4096;
constexpr long double kRate = 1048576.0L;
constexpr long kPulseLength = 120;  // the pulse has decayed below 0.5e-4 before this

constexpr long kDirect = 200;             // sample of the direct arrival
constexpr long kFirstReflection = 900;    // 700 samples later, +0.5
constexpr long kSecondReflection = 2400;  // 1500 samples after that, -0.3

long pulse[kPoints];  // in units of 1e-4; zero from kPulseLength on

// A ringing pulse with a sharp onset: its spectrum has no near-zero bin, and its mean is
// not zero, so the reciprocal filter is well conditioned at every bin including DC.
void make_pulse() {
  for (long n = 0; n < kPulseLength; ++n) {
    const long double pi = 3.141592653589793238462643383279502884L;
    const long double x =
        std::pow(0.9L, n) * std::cos(2.0L * pi * n / 16.0L) + 0.3L * std::pow(0.8L, n);
    pulse[n] = std::lround(x * 10000.0L);
  }
}

long pulse_at(long n) {
  return n >= 0 && n < kPoints ? pulse[n] : 0;
}

bool write_waveform(const char* name, const char* comment, const long double* y) {
  std::FILE* file = std::fopen(name, "w");
  if (!file) return false;
  std::fprintf(file, "%s\n", comment);
  std::fprintf(file, "x\n");
  for (long k = 0; k < kPoints; ++k)
    std::fprintf(file, "%18.10Le%s%18.10Le%s", static_cast<long double>(k) / kRate, "  ", y[k],
                 "\n");
  std::fprintf(file, "y\n");
  return std::fclose(file) == 0;
}

// |DFT| of the pulse at every bin, by the direct sum.
void print_spectrum_range() {
  const long double pi = 3.141592653589793238462643383279502884L;
  long double largest = 0, smallest = INFINITY;
  for (long k = 0; k <= kPoints / 2; ++k) {
    long double re = 0, im = 0;
    for (long n = 0; n < kPulseLength; ++n) {
      const long double angle = 2.0L * pi * static_cast<long double>((k * n) % kPoints) / kPoints;
      re += pulse[n] / 10000.0L * std::cos(angle);
      im -= pulse[n] / 10000.0L * std::sin(angle);
    }
    const long double magnitude = std::sqrt(re * re + im * im);
    if (magnitude > largest) largest = magnitude;
    if (magnitude < smallest) smallest = magnitude;
  }
  std::printf("pulse spectrum: largest %.6Lf, smallest %.6Lf, ratio %.3Lf\n", largest, smallest,
              largest / smallest);
}

}  // namespace

int main() {
  make_pulse();
  static long double reference[kPoints], measured[kPoints], direct[kPoints];
  long sum = 0;
  for (long n = 0; n < kPoints; ++n) sum += pulse[n];
  for (long n = 0; n < kPoints; ++n) {
    reference[n] = pulse[n] / 10000.0L;
    const long units = 10 * pulse_at(n - kDirect) + 5 * pulse_at(n - kFirstReflection) -
                       3 * pulse_at(n - kSecondReflection);
    measured[n] = units / 100000.0L;
    direct[n] =
        static_cast<long double>(pulse_at(n - kDirect) * kPoints - sum) / (10000.0L * kPoints);
  }
  const bool ok =
      write_waveform(
          "reference_pulse.txt",
          "reference pulse 0.9^n cos(2 pi n/16) + 0.3 0.8^n at 4 decimals, from sample 0",
          reference) &&
      write_waveform("measured.txt",
                     "pulse at sample 200, +0.5 at 900, -0.3 at 2400 (samples from 0)", measured) &&
      write_waveform("direct_arrival.txt",
                     "expected result: pulse at sample 200 minus its mean over 4096 points",
                     direct);
  if (!ok) {
    std::fprintf(stderr, "make_examples: could not write the example files\n");
    return 1;
  }
  std::printf("pulse sum %.4Lf, mean over %ld points %.10Le\n", sum / 10000.0L, kPoints,
              sum / 10000.0L / kPoints);
  print_spectrum_range();
  return 0;
}
