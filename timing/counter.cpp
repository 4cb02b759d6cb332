#include "timing/counter.h"

#include <chrono>

namespace timing {

std::int64_t SteadyClockReading() {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(sinceOrigin).count();
}

std::int64_t SteadyClockFrequency() { return 1'000'000'000; }

}  // namespace timing
