// The 80-bit codec against hand-made bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "shell/float80.h"

namespace refx {
namespace {

struct Known {
  long double value;
  unsigned char bytes[10];
};

TEST(Float80, EncodesKnownValuesByteForByte) {
  const Known known[] = {
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // pi rounded to the extended type: significand C90FDAA22168C235, exponent 4000.
      {3.141592653589793238462643383279502884L,
       {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}},
      {0.1L, {0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}},
  };
  for (const Known& k : known) {
    unsigned char out[10];
    encode_float80(k.value, out);
    EXPECT_EQ(std::memcmp(out, k.bytes, 10), 0) << static_cast<double>(k.value);
    EXPECT_EQ(decode_float80(k.bytes), k.value);
  }
}

TEST(Float80, RoundTripsEveryKindOfValue) {
  const long double values[] = {
      std::numeric_limits<long double>::max(),
      std::numeric_limits<long double>::min(),
      std::numeric_limits<long double>::denorm_min(),
      std::numeric_limits<long double>::min() / 3,
      -0.0L,
      1.0L / 3.0L,
      -123456.789e-300L,
      std::numeric_limits<long double>::infinity(),
      -std::numeric_limits<long double>::infinity(),
  };
  for (long double v : values) {
    unsigned char out[10];
    encode_float80(v, out);
    long double back = decode_float80(out);
    EXPECT_EQ(back, v);
    EXPECT_EQ(std::signbit(back), std::signbit(v));
  }
  unsigned char out[10];
  encode_float80(std::numeric_limits<long double>::quiet_NaN(), out);
  EXPECT_TRUE(std::isnan(decode_float80(out)));
}

TEST(Float80, TwelveByteValuesIgnorePaddingOnReadAndFileEndsInsideAValue) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  const unsigned char stored[] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F, 0xAB, 0xCD,  // 1.0
                                  0, 0, 0, 0, 0, 0, 0, 0x80};                          // cut
  std::fwrite(stored, 1, sizeof stored, f);
  std::rewind(f);
  long double v = 0;
  EXPECT_TRUE(read_float80(f, &v, 12));
  EXPECT_EQ(v, 1.0L);
  EXPECT_FALSE(read_float80(f, &v, 12));
  std::fclose(f);

  f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(write_float80(f, -2.0L, 12));
  EXPECT_TRUE(write_float80(f, 1.0L, 10));
  EXPECT_EQ(std::ftell(f), 22);
  std::rewind(f);
  unsigned char bytes[22];
  ASSERT_EQ(std::fread(bytes, 1, 22, f), 22u);
  const unsigned char expected[] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0, 0, 0,
                                    0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(std::memcmp(bytes, expected, 22), 0);
  std::fclose(f);
}

}  // namespace
}  // namespace refx
