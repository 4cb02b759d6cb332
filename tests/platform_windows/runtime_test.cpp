// What the simulation needs from the Windows build's runtime: long double
// arithmetic at the full 64-bit significand, and an fmaf that rounds once.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

std::uint32_t Bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Windows starts a process with the x87 unit at 53-bit precision; the
// MinGW start-up code resets it to 64 bits, which the store's arithmetic
// relies on.
TEST(WindowsRuntime, LongDoubleKeepsSixtyFourBits) {
  volatile long double one = 1;
  volatile long double lowestBit = 0x1p-63L;
  const long double sum = one + lowestBit;
  EXPECT_NE(sum, 1.0L);
  EXPECT_EQ(sum - one, 0x1p-63L);
}

struct FmaCase {
  float x, y, z, expected;
};

TEST(WindowsRuntime, FmafRoundsOnce) {
  const FmaCase cases[] = {
      // MinGW-w64's own fmaf is one unit off on these.
      {-0x1.b7a368p-11f, 0x1.e29612p+6f, 0x1.e8c2p-5f, -0x1.540162p-5f},
      {0x1.7b2fc6p+8f, 0x1.df97dp-3f, 0x1.f4df9ep+10f, 0x1.05894cp+11f},
      {0x1.31114ep+0f, 0x1.0d796ap-2f, 0x1.8fd702p+12f, 0x1.8fdc06p+12f},
      {0x1.b54e28p+1f, -0x1.ad87dcp+3f, -0x1.189178p+15f, -0x1.18ed3p+15f},
      {-0x1.8a77d4p+3f, -0x1.9996dep+4f, -0x1.c91cdep+2f, 0x1.346c82p+8f},
      // Rounding the exact sum to double first lands on a float tie, which
      // then goes the wrong way.
      {0x1.000002p-4f, 0x1.fffffcp-5f, 0x1.fe0006p-1f, 0x1.000002p+0f},
      // The unrounded product matters: rounded first, both would give 0.
      {0x1.000002p+0f, 0x1.000002p+0f, -1.0f, 0x1p-22f},
      {0x1.000002p+0f, 0x1.fffffcp-1f, -1.0f, -0x1p-46f},
      // Subnormal results and exact cancellation to +0.
      {0x1p-100f, 0x1p-40f, 0x1p-149f, 0x1.008p-140f},
      {0x1.8p-75f, 0x1.8p-75f, -0x1p-149f, 0.0f},
      // The product beyond the float range, and back inside it.
      {0x1.fffffep+127f, 2.0f, -0x1.fffffep+127f, 0x1.fffffep+127f},
      {0x1.fffffep+127f, 2.0f, 0.0f, INFINITY},
      // Signs of zero.
      {-0.0f, 1.0f, 0.0f, 0.0f},
      {-0.0f, 1.0f, -0.0f, -0.0f},
  };
  for (const FmaCase& c : cases) {
    // volatile: the compiler would otherwise fold the call itself, exactly.
    volatile float x = c.x, y = c.y, z = c.z;
    const float got = std::fmaf(x, y, z);
    EXPECT_EQ(Bits(got), Bits(c.expected))
        << std::hexfloat << c.x << " * " << c.y << " + " << c.z << " gave " << got;
  }
}

TEST(WindowsRuntime, FmafNonFinite) {
  volatile float zero = 0, infinity = INFINITY, nan = NAN, one = 1;
  EXPECT_TRUE(std::isnan(std::fmaf(infinity, zero, one)));
  EXPECT_TRUE(std::isnan(std::fmaf(infinity, one, -infinity)));
  EXPECT_TRUE(std::isnan(std::fmaf(nan, one, one)));
  EXPECT_EQ(std::fmaf(infinity, one, one), INFINITY);
}

}  // namespace
