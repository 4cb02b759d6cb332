// Initial conditions of the particle store.
//
// The arithmetic runs in long double (the 64-bit-significand format on x86)
// and is rounded only where a value is stored: to float for the arrays, to
// double for the two mass intermediates that are kept as doubles.

#include <cmath>

#include "simulation/particles.h"

namespace simulation {
namespace {

constexpr float kMassFalloff = 0.005f;   // 0.004999999888241291
constexpr float kTurnRate = 0.03f;       // 0.029999999329447746, radian per frame

float InitialMass(float x, float y, const platform::UnitSource& unit) {
  const float s = static_cast<float>(std::fabs(static_cast<long double>(x)) +
                                     std::fabs(static_cast<long double>(y)));
  // Product of two floats: exact in a double.
  const double p = static_cast<double>(s) * static_cast<double>(kMassFalloff);
  const long double r = platform::RandomRange(1, 2, unit);
  const double q = static_cast<double>(p * r);
  const double m = static_cast<double>(10.0L - static_cast<long double>(q));
  return static_cast<float>(m);
}

}  // namespace

void BuildParticleStore(const platform::UnitSource& unit) {
  for (std::int32_t i = 0; i < maxParticles; ++i) {
    posX[i] = static_cast<float>(platform::RandomRange(-1, 1, unit) * centreX);
    posY[i] = static_cast<float>(platform::RandomRange(-1, 1, unit) * centreY);
    mass[i] = InitialMass(posX[i], posY[i], unit);
    // A rigid turn about the origin: velocity 0.03 * (y, -x).
    velX[i] = static_cast<float>(static_cast<long double>(posY[i]) * kTurnRate);
    velY[i] = static_cast<float>(-static_cast<long double>(posX[i]) * kTurnRate);
    // mass * 3 is exact in long double and is truncated directly: rounding it
    // to float first would turn 4.99999988 into 5.
    colorIndex[i] = static_cast<std::int32_t>(static_cast<long double>(mass[i]) * 3);
  }

  // The two heavy bodies replace whatever the loop gave entries 0 and 1.
  posX[0] = static_cast<float>(platform::RandomRange(-100, 100, unit));
  posY[0] = static_cast<float>(platform::RandomRange(-100, 100, unit));
  mass[0] = 2000;
  velX[0] = velY[0] = 0;
  colorIndex[0] = 10;

  posX[1] = static_cast<float>(centreX);
  posY[1] = static_cast<float>(centreY);
  mass[1] = 1000;
  velX[1] = velY[1] = 0;
  colorIndex[1] = 10;
}

void BuildParticleStore() { BuildParticleStore(platform::RandomUnit); }

}  // namespace simulation
