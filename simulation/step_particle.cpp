// The gravity step of one particle: the reference rule, written for reading.
//
// Working values are floats, rounded where they are written; the unstored
// intermediates between them are carried in double:
//   dx, dy    float subtraction
//   distSq    dx*dx + dy*dy, products and sum in double, rounded to float
//   force     (gravity * m_j * m_i) / (distSq * m_i) in double, rounded to
//             float; m_i is deliberately not cancelled
//   acc       fmaf(force, dx, acc): the exact product and sum, rounded once
// The pull is force times the offset itself, so it falls off as 1/distance,
// and there is no softening: coincident particles give infinities and NaN,
// which then spread through every live particle.

#include <cmath>

#include "simulation/particles.h"

namespace simulation {

void StepParticle(std::int32_t i) { StepParticle(i, particleCount); }

void StepParticle(std::int32_t i, std::int32_t liveCount) {
  const std::int32_t count = LiveCount(liveCount);
  const float xi = posX[i];
  const float yi = posY[i];
  const double mi = mass[i];
  float accX = velX[i];
  float accY = velY[i];
  for (std::int32_t j = 0; j < count; ++j) {
    if (j == i) continue;
    const float dx = posX[j] - xi;
    const float dy = posY[j] - yi;
    const float distSq = static_cast<float>(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    const double numerator = static_cast<double>(gravity) * mass[j] * mi;
    const float force = static_cast<float>(numerator / (static_cast<double>(distSq) * mi));
    accX = std::fmaf(force, dx, accX);
    accY = std::fmaf(force, dy, accY);
  }
  velX[i] = accX;
  velY[i] = accY;
  posX[i] = xi + accX;
  posY[i] = yi + accY;
}

}  // namespace simulation
