#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/random.h"
#include "simulation/particles.h"
#include "store_fixture.h"

namespace {

using namespace simulation;
using test_support::StoreSnapshot;

// Replays the given draws for particle 2 (the first that the heavy bodies do
// not overwrite) and a fixed 0.5 everywhere else; counts every draw.
class ScriptedUnit {
 public:
  explicit ScriptedUnit(std::vector<double> forParticle2) : script_(std::move(forParticle2)) {}
  double operator()() {
    const std::size_t draw = count_++;
    const std::size_t first = 2 * 3;
    if (draw >= first && draw < first + script_.size()) return script_[draw - first];
    return 0.5;
  }
  std::size_t count() const { return count_; }

 private:
  std::vector<double> script_;
  std::size_t count_ = 0;
};

class ParticleStoreTest : public test_support::StoreTest {
 protected:
  void Build(std::int32_t cx, std::int32_t cy, ScriptedUnit& unit) {
    centreX = cx;
    centreY = cy;
    BuildParticleStore(std::ref(unit));
  }
};

// Draw u for RandomRange(-1, 1) to land on `fraction` of the half-size.
constexpr double Place(double fraction) { return (fraction + 1) / 2; }

struct MassCase {
  const char* name;
  std::int32_t centreX;
  double xDraw, yDraw, massDraw;
  float mass;
  std::int32_t colorIndex;
};

TEST_F(ParticleStoreTest, MassAndColourIndexFollowDistanceAndDraw) {
  const MassCase cases[] = {
      // At the origin the mass is 10 whatever the mass draw.
      {"origin", 960, Place(0), Place(0), 0.99, 10.0f, 30},
      // The float 0.005 lies below 0.005, which shows in the last bits.
      {"s=1000, r=1", 1000, Place(-1), Place(0), 0.0, 5.0f, 15},
      {"s=2000, r=1", 2000, Place(-1), Place(0), 0.0, 2.2351741790771484e-07f, 0},
      {"negative mass", 2000, Place(-1), Place(0), 0.5, -4.99999952316284f, -14},
  };
  for (const MassCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedUnit unit({c.xDraw, c.yDraw, c.massDraw});
    Build(c.centreX, 540, unit);
    EXPECT_EQ(mass[2], c.mass);
    EXPECT_EQ(colorIndex[2], c.colorIndex);
  }
}

TEST_F(ParticleStoreTest, ColourIndexTruncatesTheExactProductNotAFloat) {
  // Find the mass draw that makes the stored mass the float nearest 5/3.
  const float target = 1.6666666269302368f;
  const double p = 1000.0 * static_cast<double>(0.005f);
  const double r = static_cast<double>((10.0L - target) / p);
  ScriptedUnit unit({Place(-1), Place(0), r - 1});
  Build(1000, 540, unit);
  ASSERT_EQ(mass[2], target);
  // 3 * mass is 4.99999988...; rounded to float first it would read 5.
  EXPECT_EQ(colorIndex[2], 4);
}

TEST_F(ParticleStoreTest, VelocityIsARigidTurn) {
  ScriptedUnit unit({Place(0.5), Place(0), 0.5});
  Build(200, 540, unit);
  ASSERT_EQ(posX[2], 100.0f);
  ASSERT_EQ(posY[2], 0.0f);
  EXPECT_EQ(velX[2], 0.0f);
  EXPECT_EQ(velY[2], -3.0f);
}

TEST_F(ParticleStoreTest, HeavyBodiesReplaceWhatTheLoopGaveThem) {
  ScriptedUnit unit({});
  Build(683, 384, unit);
  EXPECT_EQ(mass[0], 2000.0f);
  EXPECT_EQ(mass[1], 1000.0f);
  for (int i : {0, 1}) {
    EXPECT_EQ(velX[i], 0.0f);
    EXPECT_EQ(velY[i], 0.0f);
    EXPECT_EQ(colorIndex[i], 10);
  }
  // Body 0 takes the last two draws (0.5 each, the middle of -100..100);
  // body 1 sits at world (centreX, centreY) and takes none.
  EXPECT_EQ(posX[0], 0.0f);
  EXPECT_EQ(posY[0], 0.0f);
  EXPECT_EQ(posX[1], 683.0f);
  EXPECT_EQ(posY[1], 384.0f);
}

TEST_F(ParticleStoreTest, DrawsAreTakenInAFixedOrder) {
  // Every draw gets its own value, so any change of order changes the store.
  std::vector<double> draws;
  std::size_t next = 0;
  auto unit = [&] {
    const double u = static_cast<double>((next * 7919) % 10007) / 10007.0;
    draws.push_back(u);
    ++next;
    return u;
  };
  centreX = 960;
  centreY = 540;
  BuildParticleStore(unit);
  ASSERT_EQ(draws.size(), 3u * maxParticles + 2);

  for (std::int32_t i : {2, 3, 4000, maxParticles - 1}) {
    SCOPED_TRACE(i);
    const long double x = -1.0L + static_cast<long double>(draws[3 * i]) * 2;
    const long double y = -1.0L + static_cast<long double>(draws[3 * i + 1]) * 2;
    EXPECT_EQ(posX[i], static_cast<float>(x * 960));
    EXPECT_EQ(posY[i], static_cast<float>(y * 540));
  }
  const std::size_t last = draws.size() - 2;
  EXPECT_EQ(posX[0], static_cast<float>(-100.0L + static_cast<long double>(draws[last]) * 200));
  EXPECT_EQ(posY[0], static_cast<float>(-100.0L + static_cast<long double>(draws[last + 1]) * 200));
}

TEST_F(ParticleStoreTest, SameSizeGivesTheSameStoreAndAnotherSizeDoesNot) {
  auto build = [](std::int32_t width, std::int32_t height) {
    platform::UnitGenerator generator;  // a fresh generator in the default state
    centreX = width / 2;
    centreY = height / 2;
    BuildParticleStore(std::ref(generator));
    return StoreSnapshot::Take();
  };
  const StoreSnapshot first = build(1920, 1080);
  const StoreSnapshot again = build(1920, 1080);
  const StoreSnapshot other = build(1366, 768);
  EXPECT_TRUE(first == again);
  EXPECT_NE(first.posX, other.posX);
  EXPECT_NE(first.mass, other.mass);
  EXPECT_NE(first.colorIndex, other.colorIndex);
}

TEST_F(ParticleStoreTest, RealCloudStaysWithinItsDescribedRanges) {
  platform::UnitGenerator generator;
  centreX = 960;
  centreY = 540;
  BuildParticleStore(std::ref(generator));
  for (std::int32_t i = 2; i < maxParticles; ++i) {
    ASSERT_LE(std::fabs(posX[i]), 960.0f) << i;
    ASSERT_LE(std::fabs(posY[i]), 540.0f) << i;
    ASSERT_GT(mass[i], -5.0f) << i;
    ASSERT_LE(mass[i], 10.0f) << i;
    ASSERT_GE(colorIndex[i], -14) << i;
    ASSERT_LE(colorIndex[i], 30) << i;
  }
}

TEST(RandomTest, UnitIsTheTop53BitsOfTheDefaultMersenneTwister) {
  std::mt19937_64 reference;
  platform::UnitGenerator generator;
  for (int draw = 0; draw < 1000; ++draw) {
    const double expected = static_cast<double>(reference() >> 11) * 0x1p-53;
    const double u = generator();
    ASSERT_EQ(u, expected) << draw;
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

TEST(RandomTest, RangeIsCarriedAtExtendedPrecision) {
  const double u = 1.0 / 3;
  auto unit = [u] { return u; };
  EXPECT_EQ(platform::RandomRange(1, 2, unit), 1.0L + static_cast<long double>(u));
  EXPECT_EQ(platform::RandomRange(-100, 100, unit), -100.0L + static_cast<long double>(u) * 200);
  // Reversed bounds count from the upper one.
  EXPECT_EQ(platform::RandomRange(2, 1, unit), 1.0L + static_cast<long double>(u));
}

}  // namespace
