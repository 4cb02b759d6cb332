#include "timing/load_control.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "simulation/particles.h"

namespace timing {

namespace {

// The two blocks are tested one after the other, and the tests inside each
// block are not nested, so their steps add up. The increase block asks
// "not >= 40" rather than "< 40" so that a NaN time, which fails every
// comparison, enters it and adds 16.
std::int64_t CountChange(double t) {
  std::int64_t change = 0;
  if (t > 40.0) {
    change -= 1;
    if (t > 50.0) change -= 5;
    if (t > 100.0) change -= 10;
  }
  if (!(t >= 40.0)) {
    change += 1;
    if (!(t >= 30.0)) change += 5;
    if (!(t >= 10.0)) change += 10;
  }
  return change;
}

}  // namespace

void AdaptParticleCount(const TCodeTimer& frameTimer) {
  using simulation::maxParticles;
  using simulation::particleCount;

  const std::int64_t before = particleCount;
  std::int64_t after = before + CountChange(frameTimer._totaltime);
  if (after > before) after = std::min(after, std::max<std::int64_t>(before, maxParticles));
  after = std::max<std::int64_t>(after, std::numeric_limits<std::int32_t>::min());
  particleCount = static_cast<std::int32_t>(after);
}

}  // namespace timing
