// The heads-up line's numbers, without drawing: the frame rate, the running
// average and how both are written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "simulation/particles.h"
#include "timing/code_timer.h"
#include "timing/frame_rate.h"
#include "timing/hud.h"
#include "timing/load_control.h"

namespace {

using timing::FrameRate;
using timing::HudText;
using timing::NextShownCount;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

TEST(FrameRateTest, TruncatesTowardZeroAndMarksWhatDoesNotFit) {
  struct Case {
    double t;
    std::int32_t rate;
  };
  const Case cases[] = {
      {16.7, 59},       {40.0, 25},        {33.3, 30},        {1000.0, 1},
      {3000.0, 0},      {kInf, 0},         {-kInf, 0},        {0.5, 2000},
      {-16.7, -59},     {-1000.0, -1},     {-3000.0, 0},
      {0.0009765625, 1'024'000},
      {125.0 / 134217728.0, 1'073'741'824},     // 2^30 exactly
      {125.0 / 268435456.0, kInt32Min},         // 2^31 exactly: one past the top
      {-125.0 / 268435456.0, kInt32Min},        // -2^31 exactly: the bottom itself
      {-125.0 / 134217728.0, -1'073'741'824},
      {0.0, kInt32Min},  {-0.0, kInt32Min},   {std::nan(""), kInt32Min},
      {1e-300, kInt32Min}, {-1e-300, kInt32Min}, {4.9e-324, kInt32Min},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrameRate(c.t), c.rate) << "T = " << c.t;
  }
}

TEST(HudTextTest, WritesPlainDecimal) {
  struct Case {
    std::int32_t value;
    const char* text;
  };
  const Case cases[] = {
      {0, "Particles : 0"},          {15, "Particles : 15"},         {-9, "Particles : -9"},
      {7500, "Particles : 7500"},    {kInt32Max, "Particles : 2147483647"},
      {kInt32Min, "Particles : -2147483648"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HudText("Particles : ", c.value).view(), c.text);
  }
  EXPECT_EQ(HudText("FPS : ", 59).view(), "FPS : 59");
}

TEST(ShownCountTest, HalvesTheSumTowardZero) {
  struct Case {
    std::int32_t shown, count, next;
  };
  const Case cases[] = {
      {20, 10, 15},   {15, 10, 12},  {-3, 0, -1},    {3, 0, 1},   {-6, 4, -1},
      {kInt32Max, kInt32Max, kInt32Max},  {kInt32Min, kInt32Min, kInt32Min},
      {kInt32Max, kInt32Min, 0},          {kInt32Min, kInt32Min + 1, kInt32Min + 1},  // -2^31 + 0.5 truncates up
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextShownCount(c.shown, c.count), c.next) << c.shown << " with " << c.count;
  }
}

TEST(ShownCountTest, ConvergesOnAHeldCount) {
  std::vector<std::int32_t> shown;
  std::int32_t value = 20;
  for (int frame = 0; frame < 5; ++frame) shown.push_back(value = NextShownCount(value, 10));
  EXPECT_EQ(shown, (std::vector<std::int32_t>{15, 12, 11, 10, 10}));
}

// The end of each frame as the loop runs it: the heads-up value from this
// frame's count, then the count for the next frame. Two frames of over
// 100 ms at the start, then frames at the pacing time.
TEST(ShownCountTest, FollowsTheCountBelowZeroAndBack) {
  const std::int32_t savedCount = simulation::particleCount;
  simulation::particleCount = 10;
  std::int32_t shown = simulation::particleCount + 10;
  const double times[] = {150.0, 150.0, 16.7, 16.7, 16.7, 16.7, 16.7};
  std::vector<std::int32_t> shownTexts;
  std::vector<std::int32_t> counts;
  timing::TCodeTimer frameTimer;
  for (const double t : times) {
    frameTimer._totaltime = t;
    shown = NextShownCount(shown, simulation::particleCount);
    shownTexts.push_back(shown);
    timing::AdaptParticleCount(frameTimer);
    counts.push_back(simulation::particleCount);
  }
  simulation::particleCount = savedCount;

  EXPECT_EQ(shownTexts, (std::vector<std::int32_t>{15, 4, -9, -12, -11, -7, -2}));
  EXPECT_EQ(counts, (std::vector<std::int32_t>{-6, -22, -16, -10, -4, 2, 8}));
}

}  // namespace
