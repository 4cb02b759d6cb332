// The frame rate shown in the heads-up line.
#pragma once

#include <cstdint>

namespace timing {

// 1000 divided by a frame time in milliseconds, truncated toward zero to a
// 32-bit integer. A quotient that is NaN or whose truncation leaves the
// 32-bit range (a time of zero or NaN, or one so close to zero that the rate
// is beyond 2^31) gives the most negative 32-bit integer. An infinite time
// gives 0.
std::int32_t FrameRate(double totaltime);

}  // namespace timing
