// A correctly rounded fmaf for MinGW-w64 builds.
//
// The gravity step relies on fmaf rounding x * y + z once, as the C standard
// requires. MinGW-w64's own fmaf (libmingwex) only approximates that with a
// split product added in float: about one result in four is one unit off,
// so Windows builds moved the particles differently from Linux builds. An
// object file that defines fmaf is taken before that library member, so this
// one replaces it in every program linked with it. Code built for FMA
// hardware never calls it: the compiler emits the instruction itself.
//
// The method: the product of two floats is exact in a double (48 of 53
// bits). The sum with z is rounded to a double and its rounding error found
// exactly (Knuth's two-sum); the double is then rounded "to odd" (truncated,
// with its last bit set when anything was lost), and a number rounded to odd
// with at least two bits more than a float rounds to the nearest float
// exactly as the exact value would. No step can overflow or leave the normal
// double range for float operands, so there are no special cases beyond
// non-finite sums.

#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" float fmaf(float x, float y, float z) {
  const double product = static_cast<double>(x) * static_cast<double>(y);
  const double addend = z;
  const double sum = product + addend;
  if (!std::isfinite(sum)) return static_cast<float>(sum);

  const double addendPart = sum - product;
  const double error = (product - (sum - addendPart)) + (addend - addendPart);
  if (error == 0) return static_cast<float>(sum);

  std::uint64_t bits;
  std::memcpy(&bits, &sum, sizeof bits);
  // sum is nearest to the exact value, so truncation is sum itself when the
  // error points away from zero, and the next double toward zero otherwise.
  if (std::signbit(error) != std::signbit(sum)) bits -= 1;
  bits |= 1;
  double odd;
  std::memcpy(&odd, &bits, sizeof odd);
  return static_cast<float>(odd);
}
