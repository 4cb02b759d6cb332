#include "timing/load_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "simulation/particles.h"

namespace {

using simulation::maxParticles;
using simulation::particleCount;
using timing::AdaptParticleCount;
using timing::TCodeTimer;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

class LoadControlTest : public ::testing::Test {
 protected:
  void SetUp() override { savedCount_ = particleCount; }
  void TearDown() override { particleCount = savedCount_; }

  // particleCount after one frame measured at `t` from `count`.
  static std::int32_t After(std::int32_t count, double t) {
    TCodeTimer frameTimer;
    frameTimer._totaltime = t;
    particleCount = count;
    AdaptParticleCount(frameTimer);
    return particleCount;
  }

 private:
  std::int32_t savedCount_ = 0;
};

TEST_F(LoadControlTest, NetChangePerFrameTime) {
  struct Case {
    double t;
    std::int32_t change;
  };
  const Case cases[] = {
      {1000.0, -16},  {kInf, -16},   {100.5, -16},       {100.0, -6},        {50.0000001, -6},
      {50.0, -1},     {45.0, -1},    {40.0000001, -1},   {40.0, 0},          {39.9999999, +1},
      {33.3, +1},     {30.0, +1},    {29.9999999, +6},   {16.7, +6},         {10.0, +6},
      {9.9, +16},     {0.0, +16},    {-0.0, +16},        {-5.0, +16},        {-kInf, +16},
      {std::nan(""), +16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(After(100, c.t), 100 + c.change) << "T = " << c.t;
  }
}

TEST_F(LoadControlTest, RaiseStopsAtCapacityAndFallIsUnbounded) {
  struct Case {
    std::int32_t count;
    double t;
    std::int32_t expected;
  };
  const Case cases[] = {
      {7484, 5.0, 7500},           {7485, 5.0, 7500},   {7499, 35.0, 7500},
      {7500, 35.0, 7500},          {7500, std::nan(""), 7500},
      {7500, 45.0, 7499},          {7500, 200.0, 7484},
      {8000, 5.0, 8000},           // already above capacity: a raise never lowers it
      {0, 200.0, -16},             {-16, 5.0, 0},
      {kInt32Min + 5, 200.0, kInt32Min},  // stops instead of wrapping to a huge count
      {kInt32Min, 60.0, kInt32Min},
  };
  ASSERT_EQ(maxParticles, 7500);
  for (const Case& c : cases) {
    EXPECT_EQ(After(c.count, c.t), c.expected) << "count " << c.count << ", T = " << c.t;
  }
}

TEST_F(LoadControlTest, NaNTimesRiseToCapacityAndStay) {
  particleCount = 10;
  TCodeTimer frameTimer;
  frameTimer._totaltime = std::nan("");
  for (int frame = 0; frame < 1000; ++frame) AdaptParticleCount(frameTimer);
  EXPECT_EQ(particleCount, maxParticles);
}

}  // namespace
