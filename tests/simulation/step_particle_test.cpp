#include <gtest/gtest.h>

#include <cmath>

#include "simulation/particles.h"
#include "store_fixture.h"

namespace {

using namespace simulation;
using test_support::StoreSnapshot;

class StepParticleTest : public test_support::StoreTest {
 protected:
  static void Place(std::int32_t i, float x, float y, float m, float vx = 0, float vy = 0) {
    posX[i] = x;
    posY[i] = y;
    mass[i] = m;
    velX[i] = vx;
    velY[i] = vy;
  }
  static void Frame() {
    for (std::int32_t i = 0; i < LiveCount(particleCount); ++i) StepParticle(i);
  }
};

// The two-body example: body 0 is stepped first, so body 1 already sees it
// moved. Every value is checked to the last bit.
TEST_F(StepParticleTest, TwoBodiesInPlaceAndInIndexOrder) {
  Place(0, 0, 0, 2000);
  Place(1, 30, 40, 1000);
  particleCount = 2;

  StepParticle(0);
  EXPECT_EQ(velX[0], 0.23999997973442078f);
  EXPECT_EQ(velY[0], 0.3199999928474426f);
  EXPECT_EQ(posX[0], 0.23999997973442078f);
  EXPECT_EQ(posY[0], 0.3199999928474426f);

  StepParticle(1);
  EXPECT_EQ(velX[1], -0.4838709533214569f);
  EXPECT_EQ(velY[1], -0.6451612710952759f);
  EXPECT_EQ(posX[1], 29.516128540039062f);
  EXPECT_EQ(posY[1], 39.35483932495117f);
}

// The same pair computed with every intermediate rounded to float, which is
// what a naive float implementation gives, and what the step must not give.
TEST_F(StepParticleTest, IntermediatesAreNotRoundedToFloat) {
  const float dx = 30, dy = 40;
  const float distSq = dx * dx + dy * dy;
  const float force = (gravity * 1000.0f * 2000.0f) / (distSq * 2000.0f);
  const float allFloatX = 0.0f + force * dx;
  const float allFloatY = 0.0f + force * dy;
  ASSERT_EQ(allFloatX, 0.24000000953674316f);
  ASSERT_EQ(allFloatY, 0.320000022649765f);

  Place(0, 0, 0, 2000);
  Place(1, 30, 40, 1000);
  particleCount = 2;
  StepParticle(0);
  EXPECT_NE(velX[0], allFloatX);
  EXPECT_NE(velY[0], allFloatY);
}

TEST_F(StepParticleTest, NegativeMassPushesAwayAndIsItselfPulled) {
  Place(0, 0, 0, -5);
  Place(1, 10, 0, 1);
  particleCount = 2;
  Frame();
  EXPECT_GT(velX[0], 0.0f) << "pulled toward the positive mass";
  EXPECT_GT(velX[1], 0.0f) << "pushed away from the negative mass";
  EXPECT_EQ(velY[0], 0.0f);
  EXPECT_EQ(velY[1], 0.0f);
}

TEST_F(StepParticleTest, ZeroMassOfTheSteppedParticleGivesNaN) {
  Place(0, 0, 0, 0);
  Place(1, 10, 0, 1);
  particleCount = 2;
  StepParticle(0);
  EXPECT_TRUE(std::isnan(velX[0]));
  EXPECT_TRUE(std::isnan(posX[0]));
}

TEST_F(StepParticleTest, CoincidentParticlesMakeEveryLiveParticleNaNWithinTwoFrames) {
  for (std::int32_t i = 0; i < 6; ++i) Place(i, 10.0f * i, 5.0f * i, 1 + i);
  Place(4, posX[2], posY[2], 3);  // 2 and 4 coincide
  particleCount = 6;
  Frame();
  Frame();
  for (std::int32_t i = 0; i < 6; ++i) {
    EXPECT_TRUE(std::isnan(posX[i]) && std::isnan(posY[i])) << i;
    EXPECT_TRUE(std::isnan(velX[i]) && std::isnan(velY[i])) << i;
  }
}

TEST_F(StepParticleTest, ALoneParticleKeepsItsVelocity) {
  Place(0, 1, 2, 2000, 0.5f, -0.25f);
  particleCount = 1;
  StepParticle(0);
  EXPECT_EQ(velX[0], 0.5f);
  EXPECT_EQ(velY[0], -0.25f);
  EXPECT_EQ(posX[0], 1.5f);
  EXPECT_EQ(posY[0], 1.75f);
}

TEST_F(StepParticleTest, EntriesAtOrAboveTheCountNeitherMoveNorPull) {
  platform::UnitGenerator generator;
  centreX = 960;
  centreY = 540;
  BuildParticleStore(std::ref(generator));
  const StoreSnapshot before = StoreSnapshot::Take();

  for (std::int32_t count : {-3, 0}) {
    particleCount = count;
    Frame();
    StoreSnapshot now = StoreSnapshot::Take();
    now.count = before.count;
    EXPECT_TRUE(now == before) << "count " << count;
  }

  // Three live particles: the rest keep every bit, and changing one of them
  // changes nothing about the live ones.
  particleCount = 3;
  Frame();
  const StoreSnapshot after = StoreSnapshot::Take();
  for (std::int32_t i = 3; i < maxParticles; ++i) {
    ASSERT_EQ(after.posX[i], before.posX[i]) << i;
    ASSERT_EQ(after.velY[i], before.velY[i]) << i;
  }
  before.Restore();
  particleCount = 3;
  posX[3] = 0;
  mass[3] = 1e30f;
  Frame();
  for (std::int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(posX[i], after.posX[i]) << i;
    EXPECT_EQ(velY[i], after.velY[i]) << i;
  }
}

}  // namespace
