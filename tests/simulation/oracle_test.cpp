// StepParticle against the gravity step computed the way its rule is worded:
// every unstored intermediate at extended precision (long double, a 64-bit
// significand on x86), rounded to float only where the rule stores a value.
// StepParticle carries the intermediates in double and adds by fused
// multiply-add instead; on the real initial conditions that must make no
// difference to any stored value.

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/random.h"
#include "simulation/particles.h"
#include "store_fixture.h"

namespace {

using namespace simulation;

using Extended = long double;
static_assert(LDBL_MANT_DIG >= 64, "the oracle needs a 64-bit-significand long double");

// A copy of the moving part of the store, stepped by the oracle.
struct OracleStore {
  std::vector<float> posX, posY, velX, velY, mass;
};

OracleStore Copy() {
  return {{posX, posX + maxParticles},
          {posY, posY + maxParticles},
          {velX, velX + maxParticles},
          {velY, velY + maxParticles},
          {mass, mass + maxParticles}};
}

// Part of the rule word for word: each `float` below is one of its stores.
void OracleStep(OracleStore& s, std::int32_t i, std::int32_t count) {
  float accX = s.velX[i];
  float accY = s.velY[i];
  for (std::int32_t j = 0; j < count; ++j) {
    if (j == i) continue;
    const float dx = static_cast<float>(Extended{s.posX[j]} - s.posX[i]);
    const float dy = static_cast<float>(Extended{s.posY[j]} - s.posY[i]);
    const float distSq = static_cast<float>(Extended{dx} * dx + Extended{dy} * dy);
    const Extended numerator = Extended{gravity} * s.mass[j] * s.mass[i];
    const Extended denominator = Extended{distSq} * s.mass[i];
    const float force = static_cast<float>(numerator / denominator);
    accX = static_cast<float>(accX + Extended{force} * dx);
    accY = static_cast<float>(accY + Extended{force} * dy);
  }
  s.velX[i] = accX;
  s.velY[i] = accY;
  s.posX[i] = static_cast<float>(Extended{s.posX[i]} + s.velX[i]);
  s.posY[i] = static_cast<float>(Extended{s.posY[i]} + s.velY[i]);
}

bool SameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

using OracleTest = test_support::StoreTest;

// Both are run side by side from the same store, call by call; after a
// disagreement the oracle takes StepParticle's values, so each call is judged
// on the same input.
TEST_F(OracleTest, EveryStepOfTheRealInitialStateAgreesAt3000) {
  constexpr std::int32_t kCount = 3000;
  constexpr int kFrames = 2;
  centreX = 960;
  centreY = 540;
  platform::UnitGenerator generator;
  BuildParticleStore(std::ref(generator));
  OracleStore oracle = Copy();

  int disagreements = 0;
  for (int f = 0; f < kFrames; ++f) {
    for (std::int32_t i = 0; i < kCount; ++i) {
      StepParticle(i, kCount);
      OracleStep(oracle, i, kCount);
      const bool same = SameBits(velX[i], oracle.velX[i]) && SameBits(velY[i], oracle.velY[i]) &&
                        SameBits(posX[i], oracle.posX[i]) && SameBits(posY[i], oracle.posY[i]);
      if (!same) {
        if (++disagreements <= 5) {
          ADD_FAILURE() << "frame " << f + 1 << ", particle " << i << ": velocity (" << velX[i] << ", " << velY[i]
                        << "), oracle (" << oracle.velX[i] << ", " << oracle.velY[i] << ")";
        }
        oracle.velX[i] = velX[i];
        oracle.velY[i] = velY[i];
        oracle.posX[i] = posX[i];
        oracle.posY[i] = posY[i];
      }
    }
  }
  EXPECT_EQ(disagreements, 0);
}

}  // namespace
