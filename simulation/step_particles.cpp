// One whole frame of gravity steps.

#include "simulation/particles.h"

namespace simulation {

void StepParticles(std::int32_t count) {
  const std::int32_t live = LiveCount(count);
  for (std::int32_t i = 0; i < live; ++i) StepParticle(i, live);
}

}  // namespace simulation
