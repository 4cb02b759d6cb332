#include "timing/frame_rate.h"

#include <limits>

namespace timing {

std::int32_t FrameRate(double totaltime) {
  const double rate = 1000.0 / totaltime;
  // Converting a double whose truncation does not fit is undefined, so the
  // range is checked first; written so that NaN fails the test as well.
  // Both bounds are exact in double: -2^31 - 1 and 2^31.
  if (rate > -2147483649.0 && rate < 2147483648.0) return static_cast<std::int32_t>(rate);
  return std::numeric_limits<std::int32_t>::min();
}

}  // namespace timing
