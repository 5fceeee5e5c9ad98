#include "core/float80.h"

#include <cmath>
#include <cstdint>

namespace refx {

namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
// The smallest denormal is 2^(1 - 16383 - 63).
constexpr int kDenormalScale = kBias - 1 + 63;

}  // namespace

void encode_float80(long double value, unsigned char out[kFloat80Bytes]) {
  std::uint64_t significand = 0;
  unsigned exponent = 0;
  const unsigned sign = std::signbit(value) ? 1u : 0u;
  if (std::isnan(value)) {
    exponent = kMaxExponent;
    significand = 0xC000000000000000ull;
  } else if (std::isinf(value)) {
    exponent = kMaxExponent;
    significand = 0x8000000000000000ull;
  } else if (value != 0.0L) {
    int e = 0;
    long double m = std::frexp(std::fabs(value), &e);  // value = m * 2^e, m in [0.5, 1)
    int biased = e - 1 + kBias;
    if (biased > 0) {
      exponent = static_cast<unsigned>(biased);
      significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
    } else {
      significand = static_cast<std::uint64_t>(std::ldexp(std::fabs(value), kDenormalScale));
    }
  }
  for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(significand >> (8 * i));
  const unsigned top = exponent | (sign << 15);
  out[8] = static_cast<unsigned char>(top & 0xFF);
  out[9] = static_cast<unsigned char>(top >> 8);
}

long double decode_float80(const unsigned char in[kFloat80Bytes]) {
  std::uint64_t significand = 0;
  for (int i = 0; i < 8; ++i) significand |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  const unsigned top = static_cast<unsigned>(in[8]) | (static_cast<unsigned>(in[9]) << 8);
  const int exponent = static_cast<int>(top & kMaxExponent);
  const bool negative = (top >> 15) != 0;
  long double value;
  if (exponent == kMaxExponent) {
    value = (significand << 1) == 0 ? INFINITY : NAN;
  } else if (exponent == 0) {
    value = std::ldexp(static_cast<long double>(significand), -kDenormalScale);
  } else {
    value = std::ldexp(static_cast<long double>(significand), exponent - kBias - 63);
  }
  return negative ? -value : value;
}

bool write_float80(std::FILE* file, long double value, int width) {
  unsigned char bytes[16] = {};
  encode_float80(value, bytes);
  return std::fwrite(bytes, 1, static_cast<std::size_t>(width), file) ==
         static_cast<std::size_t>(width);
}

bool read_float80(std::FILE* file, long double* value, int width) {
  unsigned char bytes[16] = {};
  if (std::fread(bytes, 1, static_cast<std::size_t>(width), file) !=
      static_cast<std::size_t>(width))
    return false;
  *value = decode_float80(bytes);
  return true;
}

}  // namespace refx
